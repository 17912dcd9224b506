#pragma once
#include <string>

#include "framework/accessible.h"
#include "framework/controls.h"

// A combo box that tells screen readers its name, for one with no label in
// front of it: the combo box and its edit field both answer with it. Set
// up when the dialog attaches the combo box (DDX_Control).
class CNamedComboBox : public CAccessiblyNamed<CComboBox> {
public:
    explicit CNamedComboBox(const std::wstring& accessibleName);

protected:
    void PreSubclassWindow() override;

private:
    CAccessiblyNamed<CWnd> m_edit;
};
