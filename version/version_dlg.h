#pragma once
#include "controls/link_label.h"
#include "framework/dialog.h"

// The version box: the program's icon, name and version, the copyright line
// and a link to the author's home page.
class CVersionDlg : public CDialog {
public:
    CVersionDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CLinkLabel m_linkHome;
};
