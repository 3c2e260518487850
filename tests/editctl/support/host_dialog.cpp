#include "host_dialog.h"

#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/resources.h>

namespace editctl_test {
namespace {

constexpr int kHostTemplate = 9701;

void registerHost() {
    static const bool done = [] {
        using namespace kestrum::ui;
        ResourceModule& module = ResourceModule::application();
        DialogTemplate host{.id = kHostTemplate, .caption = QStringLiteral("Host"), .cx = 200, .cy = 200,
                            .style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU};
        const std::map<int, QString> strings{{kLength2, "Length 2"}, {kMass3, "mass 3"},     {kTime0, "time 0"},
                                             {kTemperature4, "temperature 4"}, {kLength3, "Length 3"},
                                             {kLength4, "Length 4"}, {kNoSpace, "Length"},  {kLength12, "Length 12"},
                                             {kSpan3, "Span 3"},     {kRate2, "Length/Time 2"}};
        int y = 4;
        for (int id = kLength2; id <= kRate2; ++id, y += 16) host.controls.push_back(EDITTEXT(id, 4, y, 120, 14, ES_AUTOHSCROLL));
        host.controls.push_back(DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 140, 4, 50, 14));
        module.addDialog(host);
        for (const auto& [id, text] : strings) module.addString(id, text);
        return true;
    }();
    Q_UNUSED(done);
}

}  // namespace

HostDialog::HostDialog() : CDialog((registerHost(), kHostTemplate)) {
    for (int id = kLength2; id <= kRate2; ++id) m_controls[id] = new CDimsafeEdit(this);
}

void HostDialog::load(HostControl id, double value) {
    (*this)[id] = value;
    UpdateData(false);
}

void HostDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (auto& [id, control] : m_controls) DDX_UCONV(pDX, id, *control);
}

}  // namespace editctl_test
