// A small in-process server for the runtime's tests: one class with a dual interface whose
// operations cover every argument kind the runtime converts.
#pragma once

#include <comrt/comrt.h>

enum tagCOLOR { RED = 1, GREEN = 2 };

inline constexpr CLSID CLSID_Calculator = {0x33AB4C05, 0xC9F6, 0x47CB, {0xB1, 0x48, 0x1D, 0x4A, 0xE8, 0x00, 0xDB, 0x5A}};
inline constexpr IID IID_ICalculator = {0xC9BDC9E0, 0xD59C, 0x4DE7, {0x9C, 0x20, 0x65, 0x60, 0x59, 0x17, 0xF2, 0x01}};
inline constexpr GUID LIBID_CalculatorLib = {0x4D4EEB16, 0x9D19, 0x4802, {0xB9, 0x86, 0x0E, 0x86, 0x3F, 0xEA, 0xC0, 0xEF}};

struct ICalculator : public IDispatch {
    virtual HRESULT Add(LONG a, LONG b, LONG* pSum) = 0;                       // 1
    virtual HRESULT Join(BSTR sFirst, BSTR sSecond, BSTR* psJoined) = 0;        // 2
    virtual HRESULT Scale(double dFactor, double* pdValue) = 0;                 // 3, in-out
    virtual HRESULT Fail(LONG lCode) = 0;  // 4, posts an error (none for E_ABORT)
    virtual HRESULT SetFlag(unsigned char bFlag, tagCOLOR eColor) = 0;          // 5
    virtual HRESULT Flag(LONG* pFlag) = 0;                                      // 6: flag * 100 + color
    virtual HRESULT Sum(SAFEARRAY* pValues, LONG* pTotal) = 0;                  // 7, SAFEARRAY(I2)
    virtual HRESULT Names(SAFEARRAY** ppNames) = 0;                             // 8, SAFEARRAY(BSTR)
};
