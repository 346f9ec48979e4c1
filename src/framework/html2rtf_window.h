// QvHTML2RTF: a read-only rich edit window that shows a small subset of HTML
// (see framework/portable/html2rtf.h), converted to RTF and streamed in.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/window.h"

namespace QvLibrary {

struct RichEditLibrary;

class QvHTML2RTF : public QvWindow {
public:
    // Loads the first rich edit library that loads: Msftedit.dll,
    // Riched20.dll, Riched32.dll.
    QvHTML2RTF();
    // Destroys the control, then frees the library.
    ~QvHTML2RTF() override;

    // Fail when no rich edit library could be loaded.
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;

    // Converts the HTML and streams the RTF into the control, replacing what
    // it shows. Does nothing while the object has no window.
    void SetText(const char16_t* html) override;
    void SetText(const std::u16string& html) override;

    // Window class of the loaded library's control; empty when none loaded.
    const std::u16string& ControlClass() const;

private:
    std::unique_ptr<RichEditLibrary> library_;
};

}  // namespace QvLibrary
