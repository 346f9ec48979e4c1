#include "weblogin/win32/internet_explorer.h"

#include <mshtml.h>
#include <oleauto.h>

#include <utility>

namespace kodrin::weblogin {

namespace {

// One counted reference to a COM object, released once.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}  // takes over a reference already counted
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~Ref() { Reset(); }

    void Reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }
    T** Out() {
        Reset();
        return &p_;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // The object's interface I; empty when it has none.
    template <class I>
    Ref<I> As(REFIID iid) const {
        Ref<I> result;
        if (p_ == nullptr) return result;
        void* out = nullptr;
        if (SUCCEEDED(p_->QueryInterface(iid, &out))) result = Ref<I>(static_cast<I*>(out));
        return result;
    }

private:
    T* p_ = nullptr;
};

// A BSTR received from a call, freed once.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::u16string& text)
        : b_(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { ::SysFreeString(b_); }
    BSTR* Out() {
        ::SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    BSTR Get() const { return b_; }
    std::u16string Text() const {
        if (b_ == nullptr) return {};
        return std::u16string(reinterpret_cast<const char16_t*>(b_), ::SysStringLen(b_));
    }

private:
    BSTR b_ = nullptr;
};

VARIANT Index(long index) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = index;
    return v;
}

template <class Getter>
std::u16string ReadText(Getter getter) {
    Bstr text;
    if (FAILED(getter(text.Out()))) return {};
    return text.Text();
}

class Element final : public PageElement {
public:
    Element(Ref<IHTMLElement> element, Ref<IHTMLInputElement> input)
        : element_(std::move(element)), input_(std::move(input)) {}

    std::u16string TagName() override {
        return ReadText([&](BSTR* out) { return element_->get_tagName(out); });
    }
    std::u16string Id() override {
        return ReadText([&](BSTR* out) { return element_->get_id(out); });
    }
    std::optional<std::u16string> InputType() override {
        if (!input_) return std::nullopt;
        return ReadText([&](BSTR* out) { return input_->get_type(out); });
    }
    std::u16string Name() override {
        if (!input_) return {};
        return ReadText([&](BSTR* out) { return input_->get_name(out); });
    }
    std::u16string Value() override {
        if (!input_) return {};
        return ReadText([&](BSTR* out) { return input_->get_value(out); });
    }
    void SetValue(const std::u16string& text) override {
        if (!input_) return;
        const Bstr value(text);
        input_->put_value(value.Get());
    }
    void SetChecked(bool checked) override {
        if (input_) input_->put_checked(checked ? VARIANT_TRUE : VARIANT_FALSE);
    }
    void Click() override { element_->click(); }

private:
    Ref<IHTMLElement> element_;
    Ref<IHTMLInputElement> input_;
};

class Form final : public PageForm {
public:
    explicit Form(Ref<IHTMLFormElement> form) : form_(std::move(form)) {}

    std::size_t ElementCount() override {
        long length = 0;
        if (FAILED(form_->get_length(&length)) || length < 0) return 0;
        return static_cast<std::size_t>(length);
    }
    std::unique_ptr<PageElement> Element(std::size_t index) override {
        VARIANT name = Index(static_cast<long>(index));
        VARIANT position = Index(static_cast<long>(index));
        Ref<IDispatch> item;
        if (FAILED(form_->item(name, position, item.Out())) || !item) return nullptr;
        Ref<IHTMLElement> element = item.As<IHTMLElement>(IID_IHTMLElement);
        if (!element) return nullptr;
        return std::make_unique<class Element>(std::move(element), item.As<IHTMLInputElement>(IID_IHTMLInputElement));
    }
    void Submit() override { form_->submit(); }

private:
    Ref<IHTMLFormElement> form_;
};

class Document final : public PageDocument {
public:
    explicit Document(Ref<IHTMLDocument2> document) : document_(std::move(document)) {}

    std::size_t FrameCount() override {
        if (!frames_ && FAILED(document_->get_frames(frames_.Out()))) frames_.Reset();
        long length = 0;
        if (!frames_ || FAILED(frames_->get_length(&length)) || length < 0) return 0;
        return static_cast<std::size_t>(length);
    }
    std::unique_ptr<PageDocument> Frame(std::size_t index) override {
        if (!frames_) return nullptr;
        VARIANT position = Index(static_cast<long>(index));
        VARIANT item;
        ::VariantInit(&item);
        if (FAILED(frames_->item(&position, &item))) return nullptr;
        Ref<IHTMLWindow2> window;
        if (item.vt == VT_DISPATCH && item.pdispVal != nullptr) {
            void* out = nullptr;
            if (SUCCEEDED(item.pdispVal->QueryInterface(IID_IHTMLWindow2, &out))) {
                window = Ref<IHTMLWindow2>(static_cast<IHTMLWindow2*>(out));
            }
        }
        ::VariantClear(&item);
        if (!window) return nullptr;
        Ref<IHTMLDocument2> document;
        if (FAILED(window->get_document(document.Out())) || !document) return nullptr;
        return std::make_unique<class Document>(std::move(document));
    }
    std::optional<std::size_t> FormCount() override {
        if (FAILED(document_->get_forms(forms_.Out())) || !forms_) return std::nullopt;
        long length = 0;
        if (FAILED(forms_->get_length(&length)) || length < 0) return 0;
        return static_cast<std::size_t>(length);
    }
    std::unique_ptr<PageForm> Form(std::size_t index) override {
        if (!forms_) return nullptr;
        VARIANT name = Index(static_cast<long>(index));
        VARIANT position = Index(static_cast<long>(index));
        Ref<IDispatch> item;
        if (FAILED(forms_->item(name, position, item.Out())) || !item) return nullptr;
        Ref<IHTMLFormElement> form = item.As<IHTMLFormElement>(IID_IHTMLFormElement);
        if (!form) return nullptr;
        return std::make_unique<class Form>(std::move(form));
    }

private:
    Ref<IHTMLDocument2> document_;
    Ref<IHTMLFramesCollection2> frames_;
    Ref<IHTMLElementCollection> forms_;
};

class InternetExplorer final : public Browser {
public:
    explicit InternetExplorer(Ref<IWebBrowser2> browser) : browser_(std::move(browser)) {}

    bool Navigate(const std::u16string& url) override {
        const Bstr address(url);
        VARIANT none = Index(0);
        return SUCCEEDED(browser_->Navigate(address.Get(), &none, &none, &none, &none));
    }
    std::optional<bool> LoadComplete() override {
        READYSTATE state = READYSTATE_UNINITIALIZED;
        if (FAILED(browser_->get_ReadyState(&state))) return std::nullopt;
        return state == READYSTATE_COMPLETE;
    }
    void Show() override { browser_->put_Visible(VARIANT_TRUE); }
    void Close() override { browser_->Quit(); }
    std::unique_ptr<PageDocument> Document() override {
        Ref<IDispatch> dispatch;
        if (FAILED(browser_->get_Document(dispatch.Out())) || !dispatch) return nullptr;
        Ref<IHTMLDocument2> document = dispatch.As<IHTMLDocument2>(IID_IHTMLDocument2);
        if (!document) return nullptr;
        return std::make_unique<class Document>(std::move(document));
    }

private:
    Ref<IWebBrowser2> browser_;
};

}  // namespace

std::unique_ptr<Browser> InternetExplorerBrowser(IWebBrowser2* browser) {
    if (browser == nullptr) return nullptr;
    browser->AddRef();
    return std::make_unique<InternetExplorer>(Ref<IWebBrowser2>(browser));
}

std::unique_ptr<Browser> CreateInternetExplorer() {
    Ref<IWebBrowser2> browser;
    void* out = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER, IID_IWebBrowser2, &out)) ||
        out == nullptr) {
        return nullptr;
    }
    browser = Ref<IWebBrowser2>(static_cast<IWebBrowser2*>(out));
    return std::make_unique<InternetExplorer>(std::move(browser));
}

}  // namespace kodrin::weblogin
