// Thrown by CDataExchange::Fail to leave DoDataExchange at the failing control; caught only by
// DialogItems::UpdateData, so it never reaches a program's code or a Qt slot.
#pragma once

namespace kestrum::ui {
struct ExchangeStop {};
}  // namespace kestrum::ui
