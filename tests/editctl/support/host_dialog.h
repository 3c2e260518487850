// A host dialog with quantity edit controls, set up as a host program sets them up: a template
// with edit boxes and string-table entries "quantity decimals" under the controls' identifiers.
#pragma once

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/ui/dialog.h>

#include <QStringList>

#include <map>

namespace editctl_test {

enum HostControl {
    kLength2 = 9711,      // "Length 2"
    kMass3 = 9712,        // "mass 3"
    kTime0 = 9713,        // "time 0"
    kTemperature4 = 9714, // "temperature 4"
    kLength3 = 9715,      // "Length 3"
    kLength4 = 9716,      // "Length 4"
    kNoString = 9717,     // no string-table entry
    kNoSpace = 9718,      // "Length"
    kLength12 = 9719,     // "Length 12"
    kSpan3 = 9720,        // "Span 3"
    kRate2 = 9721,        // "Length/Time 2"
};

class HostDialog : public CDialog {
public:
    HostDialog();

    CDimsafeEdit& operator[](HostControl id) { return *m_controls.at(id); }
    QString text(HostControl id) { return (*this)[id].text(); }
    // Sets the host's value and loads every control.
    void load(HostControl id, double value);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    std::map<int, CDimsafeEdit*> m_controls;
};

}  // namespace editctl_test
