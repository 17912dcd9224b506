#pragma once
#include <string>

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes. Its path ends without a separator. A name (nested with
// backslashes) is made inside a fresh folder, which goes as a whole.
class TempFolder {
public:
    explicit TempFolder(const std::string& name = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_root;
    std::string m_path;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
void CopyFileOrFail(const std::string& from, const std::string& to);

// A file of the build tree, given relative to it ("tools/standin_editor/standin_editor.exe").
std::string BuildTreePath(const std::string& relative);
// The folder of the test bed inside the build tree (screenshots go there).
std::string TestbedPath(const std::string& relative);
