// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// A stand-in for a spreadsheet application's automation server: every member
// of every object answers by name. A member read gives a new object named
// after the call ("app.Worksheets(1)"); an assignment, and a call of Add,
// AutoFit, SaveAs or Quit, is appended as one line to the file that
// MRB_RECORDING_LOG names, as are the creation and the final release of the
// application. SaveAs writes a small file under the name it is given.
#include <windows.h>
// after windows.h, whose types they use
#include <cstdio>
#include <oleauto.h>
#include <string>
#include <vector>

namespace
{

// {6A1C4F1E-2B57-4E0C-9D3A-7C1B2E5F8A90}, as tests/windows/spreadsheet.sh registers it
const CLSID recorderClass = {0x6a1c4f1e, 0x2b57, 0x4e0c, {0x9d, 0x3a, 0x7c, 0x1b, 0x2e, 0x5f, 0x8a, 0x90}};

std::string utf8(const wchar_t *text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

void record(const std::string &line)
{
    wchar_t log[MAX_PATH];
    if (!GetEnvironmentVariableW(L"MRB_RECORDING_LOG", log, MAX_PATH))
        return;
    if (FILE *file = _wfopen(log, L"ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string valueText(const VARIANT &v)
{
    char number[32];
    switch (V_VT(&v)) {
    case VT_I2:
        return std::to_string(V_I2(&v));
    case VT_I4:
        return std::to_string(V_I4(&v));
    case VT_R8:
        std::snprintf(number, sizeof number, "%g", V_R8(&v));
        return number;
    case VT_BOOL:
        return V_BOOL(&v) ? "True" : "False";
    case VT_BSTR:
        return "\"" + utf8(V_BSTR(&v), static_cast<int>(SysStringLen(V_BSTR(&v)))) + "\"";
    default:
        return "<type " + std::to_string(V_VT(&v)) + ">";
    }
}

// Names get numbers in the order first asked for, the same for every object.
std::vector<std::wstring> &memberNames()
{
    static std::vector<std::wstring> names;
    return names;
}

bool isRecordedCall(const std::wstring &name)
{
    return name == L"Add" || name == L"AutoFit" || name == L"SaveAs" || name == L"Quit";
}

class Recorder final : public IDispatch
{
public:
    Recorder(std::string label, bool application)
        : m_label(std::move(label))
        , m_application(application)
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) {
            if (m_application)
                record("release");
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        std::vector<std::wstring> &known = memberNames();
        for (UINT i = 0; i < count; ++i) {
            std::size_t n = 0;
            while (n < known.size() && known[n] != names[i])
                ++n;
            if (n == known.size())
                known.emplace_back(names[i]);
            ids[i] = static_cast<DISPID>(n + 1);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(
        DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result, EXCEPINFO *, UINT *) override
    {
        const std::vector<std::wstring> &known = memberNames();
        if (id < 1 || static_cast<std::size_t>(id) > known.size())
            return DISP_E_MEMBERNOTFOUND;
        const std::wstring &name = known[static_cast<std::size_t>(id) - 1];
        const bool assign = flags & DISPATCH_PROPERTYPUT;
        // The arguments come last first; an assignment's value is the first.
        const UINT positional = params->cArgs - (assign ? 1 : 0);
        std::string call = m_label + "." + utf8(name.c_str(), static_cast<int>(name.size()));
        for (UINT i = 0; i < positional; ++i)
            call += (i == 0 ? "(" : ",") + valueText(params->rgvarg[params->cArgs - 1 - i]);
        if (positional > 0)
            call += ")";
        if (assign) {
            record(call + " = " + valueText(params->rgvarg[0]));
            return S_OK;
        }
        if (isRecordedCall(name)) {
            record(call);
            if (name == L"SaveAs" && positional == 1 && V_VT(&params->rgvarg[0]) == VT_BSTR) {
                FILE *file = _wfopen(V_BSTR(&params->rgvarg[0]), L"wb");
                if (!file)
                    return E_FAIL;
                std::fputs("recorded workbook\n", file);
                std::fclose(file);
            }
            return S_OK;
        }
        if (result) {
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = new Recorder(call, false);
        }
        return S_OK;
    }

private:
    LONG m_refs = 1;
    std::string m_label;
    bool m_application;
};

class Factory final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory *>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **out) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        record("create");
        Recorder *app = new Recorder("app", true);
        const HRESULT hr = app->QueryInterface(iid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void **out)
{
    static Factory factory;
    if (!IsEqualCLSID(clsid, recorderClass)) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}
