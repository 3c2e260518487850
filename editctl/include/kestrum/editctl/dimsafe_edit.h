// CDimsafeEdit: an edit control for one physical quantity.
//
// The host keeps its numbers in a storage unit system; the user sees and types them in the
// current unit system. Without the focus the control shows its value rounded to its decimals,
// with digit grouping and the unit's symbol ("1,234.50 ft"); while it has the focus it shows the
// plain number ("1234.50"). Only characters that can form a number get in, whether typed, pasted
// or dropped; text dropped onto a control the user is not editing goes into the number it shows
// and is taken at once, as if typed there and the control left. The key u opens a list of the
// quantity's units with the value in each.
//
// A host starts the library's one engine connection before it shows a control and ends it after
// the last one is gone:
//
//   CDimsafeEdit::Initialize("Unit_Database.xml", "English", "SI");   // database, storage, current
//   ... run dialogs ...
//   CDimsafeEdit::Terminate();
//
// Each control sits on a dialog made from a template (an EDITTEXT) and is exchanged with the
// host's variable by DDX_UCONV, which reads the control's quantity expression and decimals from
// the host's string table the first time (string id = control id, text "Length 2"):
//
//   void CMyDlg::DoDataExchange(CDataExchange* pDX) {
//       CDialog::DoDataExchange(pDX);
//       DDX_UCONV(pDX, IDC_LENGTH, m_length);   // m_length is a CDimsafeEdit member
//   }
//   m_length = 200.0;            // in the storage unit system, before the dialog runs
//   double stored = m_length();  // after a saving exchange
//
// GUI thread only.
#pragma once

#include <kestrum/editctl/export.h>
#include <kestrum/ui/constants.h>
#include <kestrum/ui/edit.h>

#include <memory>

class CDataExchange;
class CDimsafeEdit;
class CDimsafeEditPrivate;

// Exchanges a control's value with the host: saving stores a number the user changed, converted
// into the storage unit system (a control the user did not touch leaves the host's value as it
// is); loading shows the value converted into the current unit system. Exported under its plain
// name, DDX_UCONV.
DIMSAFE_EDITCTL_API void DDX_UCONV(CDataExchange* pDX, int nIDC, CDimsafeEdit& rControl) __asm__("DDX_UCONV");

class DIMSAFE_EDITCTL_API CDimsafeEdit : public CEdit {
    Q_OBJECT
public:
    explicit CDimsafeEdit(QWidget* parent = nullptr);
    ~CDimsafeEdit() override;

    // Sets the value (storage unit system), rounded to the control's decimals; the text changes
    // at the next loading exchange. m_dUNDEF stays exactly m_dUNDEF.
    double operator=(double d);
    // The value in the storage unit system, as the last saving exchange left it.
    double operator()() const;
    // Shows the symbol before the number from the next decorated display on.
    void PrefixSymbol();

    // The frame cue: WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE (0x101) while the control has the
    // focus, drawn as a raised double frame.
    unsigned long GetExStyle() const;

    // When true (the default), unfocused controls group digits with ",".
    static bool m_bUseCommas;
    // The value of a control without one (-999999999.0, nine nines); such a control shows no number.
    static double m_dUNDEF;

    // Starts the library's engine connection; does nothing while it is started. The unit-system
    // names are taken even when the start fails (the engine's message is then shown).
    static void Initialize(const CString& sUnitDatabaseLocation, const CString& sStorageUnitSystem,
                           const CString& sCurrentUnitSystem);
    // Ends the connection; does nothing when it is not started.
    static void Terminate();
    // Lets the user choose the current unit system from a list. Controls show the change at
    // their next loading exchange: save before, load after.
    static void ChangeCurrentUnitSystem();

    static CString GetStorageUnitSystem();
    static CString GetCurrentUnitSystem();

protected:
    void OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags) override;
    bool OnChange() override;
    bool OnSetfocus() override;
    bool OnKillfocus() override;
    void OnPaste(const QString& text) override;

    void paintEvent(QPaintEvent* event) override;

private:
    bool AllowChar(unsigned nChar, int nPos) const;
    void GetPreferredUnit(CString& sUnit);
    void GetUnits(CStringArray* pArray);
    static void GetUnitSystems(CStringArray* pArray);
    void ShowUnitList();

    Q_DISABLE_COPY(CDimsafeEdit)
    std::unique_ptr<CDimsafeEditPrivate> d;
    friend class CDimsafeEditPrivate;
};
