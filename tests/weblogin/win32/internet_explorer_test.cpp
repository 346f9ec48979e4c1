// Internet Explorer's automation against COM test doubles: small COM objects
// that behave like a browser with a page of frames, forms and inputs. Every
// double counts itself, so the tests also see that each interface obtained
// was released.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com_stubs.h"
#include "weblogin/browser_login.h"
#include "weblogin/win32/internet_explorer.h"

namespace kodrin::weblogin {
namespace {

int g_live = 0;  // doubles alive

// Reference counting and QueryInterface for a double built on stubs.
template <class... Stubs>
class Double : public Stubs... {
public:
    Double() { ++g_live; }
    virtual ~Double() { --g_live; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = Find(iid);
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

protected:
    virtual void* Find(REFIID iid) = 0;

private:
    ULONG refs_ = 1;
};

std::u16string Text(BSTR b) { return b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : u""; }
BSTR Alloc(const std::u16string& text) { return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.c_str()), static_cast<UINT>(text.size())); }

// The page as data; the doubles record what the login did.
struct ElementData {
    std::u16string tag = u"INPUT";
    bool input = true;
    std::u16string type, name, id, value;
    std::vector<std::u16string> values;
    std::vector<bool> checks;
    int clicks = 0;
};
struct FormData {
    std::deque<ElementData> elements;
    int submits = 0;
};
struct DocumentData {
    std::deque<DocumentData> frames;
    std::deque<FormData> forms;
    bool formsAvailable = true;
};

// Every index a collection received: both arguments VT_I4 and equal.
bool g_badIndex = false;
long IndexOf(const VARIANT& name, const VARIANT& index) {
    if (name.vt != VT_I4 || index.vt != VT_I4 || name.lVal != index.lVal) g_badIndex = true;
    return index.lVal;
}

class FakeElement final : public Double<test::StubIHTMLElement, test::StubIHTMLInputElement> {
public:
    explicit FakeElement(ElementData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* p) override { return *p = Alloc(data_.tag), S_OK; }
    HRESULT STDMETHODCALLTYPE get_id(BSTR* p) override { return *p = Alloc(data_.id), S_OK; }
    HRESULT STDMETHODCALLTYPE click() override { return ++data_.clicks, S_OK; }
    HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override { return *p = Alloc(data_.type), S_OK; }
    HRESULT STDMETHODCALLTYPE get_name(BSTR* p) override { return *p = Alloc(data_.name), S_OK; }
    HRESULT STDMETHODCALLTYPE get_value(BSTR* p) override { return *p = Alloc(data_.value), S_OK; }
    HRESULT STDMETHODCALLTYPE put_value(BSTR v) override { return data_.values.push_back(Text(v)), S_OK; }
    HRESULT STDMETHODCALLTYPE put_checked(VARIANT_BOOL v) override {
        return data_.checks.push_back(v == VARIANT_TRUE), S_OK;
    }

private:
    void* Find(REFIID iid) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLElement) {
            return static_cast<IHTMLElement*>(this);
        }
        if (iid == IID_IHTMLInputElement && data_.input) return static_cast<IHTMLInputElement*>(this);
        return nullptr;
    }
    ElementData& data_;
};

class FakeForm final : public Double<test::StubIHTMLFormElement> {
public:
    explicit FakeForm(FormData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override { return *p = static_cast<LONG>(data_.elements.size()), S_OK; }
    HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** out) override {
        const long i = IndexOf(name, index);
        *out = static_cast<IHTMLElement*>(new FakeElement(data_.elements.at(static_cast<std::size_t>(i))));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE submit() override { return ++data_.submits, S_OK; }

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLFormElement ? this : nullptr;
    }
    FormData& data_;
};

class FakeForms final : public Double<test::StubIHTMLElementCollection> {
public:
    explicit FakeForms(DocumentData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override { return *p = static_cast<LONG>(data_.forms.size()), S_OK; }
    HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** out) override {
        *out = new FakeForm(data_.forms.at(static_cast<std::size_t>(IndexOf(name, index))));
        return S_OK;
    }

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLElementCollection ? this : nullptr;
    }
    DocumentData& data_;
};

class FakeDocument;

class FakeWindow final : public Double<test::StubIHTMLWindow2> {
public:
    explicit FakeWindow(DocumentData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** out) override;

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLWindow2 ? this : nullptr;
    }
    DocumentData& data_;
};

class FakeFrames final : public Double<test::StubIHTMLFramesCollection2> {
public:
    explicit FakeFrames(DocumentData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_length(LONG* p) override { return *p = static_cast<LONG>(data_.frames.size()), S_OK; }
    HRESULT STDMETHODCALLTYPE item(VARIANT* index, VARIANT* result) override {
        if (index->vt != VT_I4) g_badIndex = true;
        result->vt = VT_DISPATCH;
        result->pdispVal = new FakeWindow(data_.frames.at(static_cast<std::size_t>(index->lVal)));
        return S_OK;
    }

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLFramesCollection2 ? this : nullptr;
    }
    DocumentData& data_;
};

class FakeDocument final : public Double<test::StubIHTMLDocument2> {
public:
    explicit FakeDocument(DocumentData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE get_frames(IHTMLFramesCollection2** out) override {
        *out = new FakeFrames(data_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_forms(IHTMLElementCollection** out) override {
        if (!data_.formsAvailable) return E_FAIL;
        *out = new FakeForms(data_);
        return S_OK;
    }

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument2 ? this : nullptr;
    }
    DocumentData& data_;
};

HRESULT FakeWindow::get_document(IHTMLDocument2** out) {
    *out = new FakeDocument(data_);
    return S_OK;
}

struct BrowserData {
    HRESULT navigateResult = S_OK;
    int pollsUntilComplete = 1;
    bool stateReadable = true;
    bool documentAvailable = true;
    DocumentData page;
    std::vector<std::u16string> navigated;
    bool argumentsZero = true;  // the four optional arguments: VT_I4 0
    int polls = 0;
    bool visible = false, quit = false;
};

class FakeWebBrowser final : public Double<test::StubIWebBrowser2> {
public:
    explicit FakeWebBrowser(BrowserData& d) : data_(d) {}
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post,
                                       VARIANT* headers) override {
        data_.navigated.push_back(Text(url));
        for (VARIANT* v : {flags, frame, post, headers}) {
            if (v == nullptr || v->vt != VT_I4 || v->lVal != 0) data_.argumentsZero = false;
        }
        return data_.navigateResult;
    }
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override {
        if (!data_.stateReadable) return E_FAIL;
        *state = data_.polls++ >= data_.pollsUntilComplete ? READYSTATE_COMPLETE : READYSTATE_INTERACTIVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL v) override { return data_.visible = v == VARIANT_TRUE, S_OK; }
    HRESULT STDMETHODCALLTYPE Quit() override { return data_.quit = true, S_OK; }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** out) override {
        if (!data_.documentAvailable) return E_FAIL;
        *out = static_cast<IHTMLDocument2*>(new FakeDocument(data_.page));
        return S_OK;
    }

private:
    void* Find(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser2 ? this : nullptr;
    }
    BrowserData& data_;
};

ElementData Input(const char16_t* type, const char16_t* name, const char16_t* value = u"") {
    ElementData e;
    e.type = type;
    e.name = name;
    e.value = value;
    return e;
}

LoginField Field(const char16_t* name, const char16_t* value, LoginFieldType type) {
    LoginField field;
    field.name = name;
    field.value = value;
    field.type = type;
    return field;
}

// Runs one login against the doubles; the browser is made by the login.
struct LoginRun {
    BrowserData browser;
    std::vector<std::u16string> shell;
    bool result = false;

    void operator()(std::vector<LoginField>* fields, bool autoLogin) {
        g_badIndex = false;
        LoginServices services;
        services.createBrowser = [this]() -> std::unique_ptr<Browser> {
            FakeWebBrowser* raw = new FakeWebBrowser(browser);
            std::unique_ptr<Browser> made = InternetExplorerBrowser(raw);
            raw->Release();
            return made;
        };
        services.openWithShell = [this](const std::u16string& url) { return shell.push_back(url), true; };
        services.sleep = [](std::uint32_t) {};
        BrowserLogin login(std::move(services));
        result = login.Run(u"http://site.test/login", fields, autoLogin);
    }
};

TEST(InternetExplorer, LogsInThroughTheFrameAndReleasesEveryInterface) {
    LoginRun run;
    FormData form;
    ElementData select = Input(u"", u"user");
    select.tag = u"SELECT";
    select.input = false;
    form.elements = {select, Input(u"text", u"User"), Input(u"password", u"pwd"), Input(u"checkbox", u"keep"),
                     Input(u"submit", u"", u"Go")};
    run.browser.page.forms.push_back(FormData{{Input(u"text", u"user")}});
    run.browser.page.frames.emplace_back().forms.push_back(form);
    std::vector<LoginField> fields{Field(u"user", u"alice", LoginFieldType::StandardInput),
                                   Field(u"<auto>", u"s3cret", LoginFieldType::Password),
                                   Field(u"keep", u"checked", LoginFieldType::Checkbox)};
    run(&fields, true);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(g_live, 0);
    EXPECT_FALSE(g_badIndex);
    EXPECT_TRUE(run.browser.argumentsZero);
    EXPECT_EQ(run.browser.navigated, std::vector<std::u16string>{u"http://site.test/login"});
    EXPECT_TRUE(run.browser.visible);
    EXPECT_FALSE(run.browser.quit);
    const auto& e = run.browser.page.frames[0].forms[0].elements;
    EXPECT_TRUE(e[0].values.empty());
    EXPECT_EQ(e[1].values, std::vector<std::u16string>{u"alice"});
    EXPECT_EQ(e[2].values, std::vector<std::u16string>{u"s3cret"});  // pwd scores 9 over "user"'s 1
    EXPECT_EQ(e[3].checks, std::vector<bool>{true});
    EXPECT_EQ(run.browser.page.frames[0].forms[0].submits, 1);
    EXPECT_TRUE(run.browser.page.forms[0].elements[0].values.empty());

    // A stored submit button is clicked instead.
    LoginRun click;
    click.browser.page.forms.push_back(form);
    std::vector<LoginField> withButton{Field(u"user", u"bob", LoginFieldType::StandardInput),
                                       Field(u"<auto>", u"", LoginFieldType::SubmitButton)};
    click(&withButton, true);
    EXPECT_TRUE(click.result);
    EXPECT_EQ(withButton[1].name, u"go");
    EXPECT_EQ(click.browser.page.forms[0].elements[4].clicks, 1);
    EXPECT_EQ(click.browser.page.forms[0].submits, 0);
    EXPECT_EQ(g_live, 0);
}

TEST(InternetExplorer, FailuresOpenTheShellAndCloseTheHiddenWindow) {
    struct Case {
        const char* what;
        void (*setUp)(BrowserData&);
        bool shell, quit, visible;
    };
    const Case cases[] = {
        {"navigation refused", [](BrowserData& b) { b.navigateResult = E_FAIL; }, true, true, false},
        {"state unreadable", [](BrowserData& b) { b.stateReadable = false; }, true, true, false},
        {"no document", [](BrowserData& b) { b.documentAvailable = false; }, false, false, true},
        {"no forms", [](BrowserData& b) { b.page.formsAvailable = false; }, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoginRun run;
        c.setUp(run.browser);
        std::vector<LoginField> fields{Field(u"user", u"x", LoginFieldType::StandardInput)};
        run(&fields, true);
        EXPECT_EQ(run.result, c.shell);
        EXPECT_EQ(run.shell.size(), c.shell ? 1u : 0u);
        EXPECT_EQ(run.browser.quit, c.quit);
        EXPECT_EQ(run.browser.visible, c.visible);
        EXPECT_EQ(g_live, 0);
    }
}

}  // namespace
}  // namespace kodrin::weblogin
