#pragma once
#include <string>

#include "framework/win_app.h"
#include "jump/file_path.h"

class CJumpApp : public CWinApp {
public:
    // Fixes where the settings and the history live and reads the editor's path.
    CJumpApp();

    BOOL InitInstance() override;

    FilePath m_strIniPath;
    FilePath m_strHistoryPath;
    // ANSI, as stored in the settings file and started.
    std::string m_strEditorPath;

private:
    bool AskForEditorPath();
};

// The running program's application object.
CJumpApp& JumpApp();
