// The browser behind a login, as the login sequence sees it: a window that
// navigates, reports whether its page has loaded and shows itself, and a
// page of documents (frames) with forms and their elements. Internet
// Explorer over COM and the Chromium-family browsers over the DevTools
// protocol both stand behind it (weblogin/win32); tests supply fakes.
//
// Every object is used on the login's worker thread only. A missing object
// (a frame, form or element that cannot be obtained) is a null pointer.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "weblogin/field_matcher.h"

namespace kodrin::weblogin {

// One element of a form: its tag, id, and for an input its type, name and
// value attribute (texts as the page gives them, not lower-cased). The
// matcher's operations act on the element.
class PageElement : public FormElement {
public:
    virtual std::u16string TagName() = 0;
    virtual std::u16string Id() = 0;
    // The input's type, name and value; nothing when the element is no
    // input element.
    virtual std::optional<std::u16string> InputType() = 0;
    virtual std::u16string Name() = 0;
    virtual std::u16string Value() = 0;
};

// One form: its elements in order; Submit submits it.
class PageForm : public WebForm {
public:
    virtual std::size_t ElementCount() = 0;
    virtual std::unique_ptr<PageElement> Element(std::size_t index) = 0;
};

// One document: the top page or the page of a frame.
class PageDocument {
public:
    virtual ~PageDocument() = default;
    virtual std::size_t FrameCount() = 0;
    // The document of frame index.
    virtual std::unique_ptr<PageDocument> Frame(std::size_t index) = 0;
    // The number of forms; nothing when the form collection cannot be had.
    virtual std::optional<std::size_t> FormCount() = 0;
    virtual std::unique_ptr<PageForm> Form(std::size_t index) = 0;
};

// The browser window of one login.
class Browser {
public:
    virtual ~Browser() = default;
    // Starts loading url; false when the browser refuses.
    virtual bool Navigate(const std::u16string& url) = 0;
    // Whether the page has completed loading; nothing when the state cannot
    // be read.
    virtual std::optional<bool> LoadComplete() = 0;
    // Makes the window visible (and brings it forward).
    virtual void Show() = 0;
    // Closes a window that was never shown (the page did not load).
    virtual void Close() = 0;
    // The top document of the current page; null when there is none.
    virtual std::unique_ptr<PageDocument> Document() = 0;
};

}  // namespace kodrin::weblogin
