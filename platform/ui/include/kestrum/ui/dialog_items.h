// DialogItems: what dialogs and property pages share: the controls made from a dialog template,
// found by identifier, and the data exchange over them.
#pragma once

#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/dialog_units.h>
#include <kestrum/ui/export.h>

#include <QPointer>
#include <QWidget>

#include <map>
#include <optional>
#include <vector>

class QPushButton;

namespace kestrum::ui {

class KESTRUM_UI_API DialogItems {
public:
    virtual ~DialogItems();
    Q_DISABLE_COPY(DialogItems)

    int templateId() const { return m_nIDTemplate; }
    // The template in use once the controls exist; before that, the one a lookup finds now.
    const DialogTemplate* dialogTemplate() const;
    DialogBaseUnits baseUnits() const { return m_units; }
    bool hasControls() const { return m_template.has_value(); }

    QWidget* GetDlgItem(int nID) const;
    template <class T>
    T* DlgItem(int nID) const { return dynamic_cast<T*>(GetDlgItem(nID)); }
    QString GetDlgItemText(int nID) const;
    void SetDlgItemText(int nID, const QString& text);
    int IsDlgButtonChecked(int nIDButton) const;
    void CheckDlgButton(int nIDButton, int nCheck);
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    void GotoDlgCtrl(QWidget* pWndCtrl);
    // The push button the template makes the default one (DEFPUSHBUTTON), or null.
    QPushButton* templateDefaultButton() const;

    // Runs DoDataExchange: true saves the controls into the members and validates them, false
    // loads the members into the controls. Answers false when a value was refused.
    bool UpdateData(bool bSaveAndValidate = true);

protected:
    DialogItems(QWidget* self, int nIDTemplate);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Finds the template along the resource lookup and makes its font, size and controls.
    // False (with a warning) when no template has the identifier.
    bool createControls();

private:
    void notify(int nID, int nCode);
    void wire(QWidget* control, const ControlTemplate& tmpl);
    void attachControl(int nID, QWidget& control);

    QWidget* m_self;
    int m_nIDTemplate;
    std::optional<DialogTemplate> m_template;
    DialogBaseUnits m_units;
    std::map<int, QPointer<QWidget>> m_items;
    // The controls' notifications to this object, cut when it is destroyed: a dialog that is
    // destroyed while shown hides afterwards, and a control losing the focus then still notifies.
    std::vector<QMetaObject::Connection> m_notifications;
    friend void ::DDX_Control(CDataExchange*, int, QWidget&);
};

// The text of a control as the platform's window text: an edit's or a static's text, a
// button's label. Mnemonic markers are kept.
KESTRUM_UI_API QString windowText(const QWidget* control);
KESTRUM_UI_API void setWindowText(QWidget* control, const QString& text);

}  // namespace kestrum::ui

// The identifier a control has on its dialog or page (0 for a widget that is not a control).
KESTRUM_UI_API int GetDlgCtrlID(const QWidget* control);
