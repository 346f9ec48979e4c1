// FileChooser: the system's open and save dialogs and its folder browser,
// with the chooser's default extension, file name, filter, initial folder and
// title. Saving over an existing file is asked about first.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace QvLibrary {

class QvApp;
struct FileChooserState;

class FileChooser {
public:
    // Capacity of the file name the dialogs fill, terminating zero included.
    static constexpr std::size_t kFileNameCapacity = 260;
    // " already exists. Do you want to overwrite the file?"
    static constexpr int kOverwriteQuestion = 20902;

    explicit FileChooser(const QvApp& app);
    ~FileChooser();
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    // Without the dot ("xml"); added to a name typed without an extension.
    void SetDefaultExtension(const std::u16string& extension);
    // The name the dialogs start with; longer names are cut to 259 units.
    void SetFileName(const std::u16string& name);
    // Pairs of description and pattern, each followed by a zero unit.
    void SetFilter(const std::u16string& pairs);
    // Appends one pair: AddFilter(u"XML Files (*.xml)", u"*.xml").
    void AddFilter(const std::u16string& description, const std::u16string& pattern);
    void ClearFilter();
    // Where the dialogs (and the folder browser) start; unused when empty.
    void SetInitialFolder(const std::u16string& folder);
    void SetTitle(const std::u16string& title);

    const std::u16string& DefaultExtension() const;
    // The last chosen path, or the name set.
    const std::u16string& FileName() const;
    const std::u16string& Filter() const;
    const std::u16string& InitialFolder() const;
    const std::u16string& Title() const;

    // The open dialog for an existing file; nothing when cancelled.
    std::optional<std::u16string> Open(HWND owner);
    // The save dialog, owned by the main window. A chosen file that exists
    // is asked about: Yes takes it, No shows the dialog again, Cancel gives up.
    std::optional<std::u16string> Save();
    // The folder browser with the title as its prompt; the chosen folder's
    // path, or nothing when cancelled or the choice is no file-system folder.
    std::optional<std::u16string> BrowseForFolder(HWND owner);

private:
    bool RunFileDialog(HWND owner, DWORD flags, bool save);

    std::unique_ptr<FileChooserState> state_;
};

}  // namespace QvLibrary
