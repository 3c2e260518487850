// The GUI layer in one include.
#pragma once

#include <kestrum/ui/app.h>
#include <kestrum/ui/constants.h>
#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/dialog_units.h>
#include <kestrum/ui/edit.h>
#include <kestrum/ui/file_dialog.h>
#include <kestrum/ui/html_help.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/list_ctrl.h>
#include <kestrum/ui/menu.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/message_window.h>
#include <kestrum/ui/number_text.h>
#include <kestrum/ui/property_page.h>
#include <kestrum/ui/property_sheet.h>
#include <kestrum/ui/resources.h>
#include <kestrum/ui/screenshot.h>
#include <kestrum/ui/wait_cursor.h>
#include <kestrum/ui/window_menu.h>
