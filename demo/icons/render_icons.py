#!/usr/bin/env python3
"""Renders probeck.svg into the PNG sizes the demo ships (16, 32, 48 and 256 pixels).

Uses the system's librsvg and cairo through ctypes, so it needs no Python packages:
    demo/icons/render_icons.py
The PNGs are committed; the build does not run this script.
"""
import ctypes
import ctypes.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (16, 32, 48, 256)
CAIRO_FORMAT_ARGB32 = 0


class RsvgRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_double), ("y", ctypes.c_double),
                ("width", ctypes.c_double), ("height", ctypes.c_double)]


def load(name, fallback):
    path = ctypes.util.find_library(name) or fallback
    return ctypes.CDLL(path)


def main():
    rsvg = load("rsvg-2", "librsvg-2.so.2")
    cairo = load("cairo", "libcairo.so.2")
    rsvg.rsvg_handle_new_from_file.restype = ctypes.c_void_p
    rsvg.rsvg_handle_new_from_file.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
    rsvg.rsvg_handle_render_document.argtypes = [ctypes.c_void_p, ctypes.c_void_p,
                                                 ctypes.POINTER(RsvgRectangle), ctypes.c_void_p]
    cairo.cairo_image_surface_create.restype = ctypes.c_void_p
    cairo.cairo_create.restype = ctypes.c_void_p
    cairo.cairo_create.argtypes = [ctypes.c_void_p]
    cairo.cairo_destroy.argtypes = [ctypes.c_void_p]
    cairo.cairo_surface_write_to_png.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
    cairo.cairo_surface_destroy.argtypes = [ctypes.c_void_p]

    source = os.path.join(HERE, "probeck.svg").encode()
    handle = rsvg.rsvg_handle_new_from_file(source, None)
    if not handle:
        sys.exit("render_icons: cannot read probeck.svg")
    for size in SIZES:
        surface = cairo.cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size)
        context = cairo.cairo_create(surface)
        viewport = RsvgRectangle(0, 0, size, size)
        if not rsvg.rsvg_handle_render_document(handle, context, ctypes.byref(viewport), None):
            sys.exit("render_icons: rendering failed")
        target = os.path.join(HERE, f"probeck-{size}.png").encode()
        if cairo.cairo_surface_write_to_png(surface, target) != 0:
            sys.exit(f"render_icons: cannot write {target.decode()}")
        cairo.cairo_destroy(context)
        cairo.cairo_surface_destroy(surface)
        print(target.decode())


if __name__ == "__main__":
    main()
