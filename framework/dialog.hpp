#pragma once
// CDialog: modal (DoModal) and modeless (Create) dialogs from templates.
// All dialog messages pass through one trampoline that applies the Win32
// dialog-procedure return rules, so handlers simply return their result.
#include "framework/wnd.hpp"

class CDialog;

// Carries DoDataExchange's direction; only control binding is needed.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Binds a dialog item to a control object, once.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
    ~CDialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless. With no parent the application's main
    // window becomes its owner.
    bool Create(UINT templateId = 0, CWnd* parent = nullptr);
    void EndDialog(int result);
    bool UpdateData(bool saveAndValidate = true);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);
    HWND OwnerWindow() const;
    void RunModalLoop();

    bool m_bBypassNext = false;  // the next dialog-procedure call is our own Default
    bool m_bModal = false;
    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};
