// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Late-bound callers (scripts, other programs) hand the library any number
// of arguments of any type: IDispatch::Invoke converts them or refuses them
// with a status, and never reads or frees what it was not given. The input
// chooses the member, the flags, the argument count, each argument's type
// (known or not, by value or by reference, arrays included) and the named
// argument ids; each argument is a well-formed value of its type, as a
// correct caller would pass it.
#include "fuzz/fuzzinput.h"
#include "lib/frame/dispatch.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/errorinfo.h"
#include "platform/com/variant.h"
#include "platform/variant/value.h"

#include <cstring>
#include <deque>
#include <vector>

using mrb::fuzz::FuzzInput;

namespace
{

struct Probe;
struct ProbeVtbl {
    HRESULT (*QueryInterface)(Probe *, const IID *, void **);
    std::uint32_t (*AddRef)(Probe *);
    std::uint32_t (*Release)(Probe *);
    HRESULT (*GetTypeInfoCount)(Probe *, std::uint32_t *);
    HRESULT (*GetTypeInfo)(Probe *, std::uint32_t, LCID, void **);
    HRESULT (*GetIDsOfNames)(Probe *, const IID *, OLECHAR **, std::uint32_t, LCID, DISPID *);
    HRESULT(*Invoke)
    (Probe *, DISPID, const IID *, LCID, std::uint16_t, DISPPARAMS *, VARIANT *, EXCEPINFO *, std::uint32_t *);
    HRESULT (*Strings)(Probe *, BSTR, BSTR *, BSTR *);
    HRESULT (*Numbers)(Probe *, std::int32_t, std::int16_t, std::int32_t *, std::int32_t *);
    HRESULT (*Flags)(Probe *, VARIANT_BOOL, VARIANT_BOOL *, VARIANT_BOOL *);
    HRESULT (*Values)(Probe *, VARIANT *, SAFEARRAY **, IDispatch **, SAFEARRAY **);
    HRESULT (*Optionals)(Probe *, BSTR, std::int16_t, VARIANT_BOOL, std::int32_t, BSTR *);
    HRESULT (*Nothing)(Probe *);
    HRESULT (*Fail)(Probe *, BSTR *, BSTR *);
};
struct Probe {
    const ProbeVtbl *lpVtbl;
};

constexpr IID iidProbe = {0x5EED0001u, 0x1111u, 0x2222u, {1, 2, 3, 4, 5, 6, 7, 8}};

// Operations of every argument kind the library's classes use; each one
// reads and assigns its arguments the way the real operations do.
class ProbeObject final : public qfc::DispatchObject<ProbeObject, Probe>
{
public:
    ProbeObject();
    static const IID &interfaceId() { return iidProbe; }
    static const char *interfaceName() { return "_Probe"; }
    static std::span<const qfc::Operation> operations();

    std::string Strings(std::string text, qfc::StrRef more)
    {
        more.set(more.get() + text);
        return text;
    }
    std::int32_t Numbers(std::int32_t a, std::int16_t b, qfc::Int32Ref c)
    {
        c.set(c.get() ^ a ^ b);
        return a;
    }
    bool Flags(bool a, qfc::BoolRef b)
    {
        b.set(a != b.get());
        return a;
    }
    qfc::StringArray Values(qfc::VariantArg target, qfc::SafeArrayRef list, qfc::DispatchRef object)
    {
        const auto values = mrb::platform::valuesOf(list.get());
        qfc::StringArray out = mrb::platform::stringsOf(list.get());
        out.push_back(mrb::platform::inVar(target.value(), values) ? "in" : "out");
        if (object.get())
            out.push_back("object");
        return out;
    }
    std::string Optionals(std::string text, std::int16_t n, bool flag, std::int32_t m)
    {
        return text + std::to_string(n + m) + (flag ? "y" : "n");
    }
    void Nothing() { }
    std::string Fail(qfc::StrRef name)
    {
        throw qfc::Failure({static_cast<HRESULT>(0x800403E8), "Probe.Fail", "refused: " + name.get()});
    }
};

constexpr qfc::Param stringsParams[] = {qfc::required("Text"), qfc::optional("More")};
constexpr qfc::Param numbersParams[] = {qfc::required("A"), qfc::optional("B", 3), qfc::required("C")};
constexpr qfc::Param flagsParams[] = {qfc::required("A"), qfc::optional("B", -1)};
constexpr qfc::Param valuesParams[] = {qfc::required("Target"), qfc::required("List"), qfc::optional("Object")};
constexpr qfc::Param optionalParams[] = {
    qfc::optional("Text", "t"), qfc::optional("N", 7), qfc::optional("Flag", -1), qfc::optional("M")};
constexpr qfc::Param failParams[] = {qfc::required("Name")};

const qfc::Operation probeTable[] = {
    qfc::operation<&ProbeObject::Strings>("Strings", 0x60030000, stringsParams),
    qfc::operation<&ProbeObject::Numbers>("Numbers", 0x60030001, numbersParams),
    qfc::operation<&ProbeObject::Flags>("Flags", 0x60030002, flagsParams),
    qfc::operation<&ProbeObject::Values>("Values", 0x60030003, valuesParams),
    qfc::operation<&ProbeObject::Optionals>("Optionals", 0x60030004, optionalParams),
    qfc::operation<&ProbeObject::Nothing>("Nothing", 0x60030005),
    qfc::operation<&ProbeObject::Fail>("Fail", 0x60030006, failParams),
};

const ProbeVtbl probeInterface = {
    QFC_DISPATCH_SLOTS(ProbeObject),
    QFC_SLOT(Probe, ProbeObject::Strings),
    QFC_SLOT(Probe, ProbeObject::Numbers),
    QFC_SLOT(Probe, ProbeObject::Flags),
    QFC_SLOT(Probe, ProbeObject::Values),
    QFC_SLOT(Probe, ProbeObject::Optionals),
    QFC_SLOT(Probe, ProbeObject::Nothing),
    QFC_SLOT(Probe, ProbeObject::Fail),
};

ProbeObject::ProbeObject()
    : DispatchObject(&probeInterface)
{
}

std::span<const qfc::Operation> ProbeObject::operations()
{
    return probeTable;
}

// The types a caller uses most; any other 16-bit value is tried too.
constexpr VARTYPE knownTypes[] = {VT_EMPTY,
    VT_NULL,
    VT_I2,
    VT_I4,
    VT_R4,
    VT_R8,
    VT_CY,
    VT_DATE,
    VT_BSTR,
    VT_DISPATCH,
    VT_ERROR,
    VT_BOOL,
    VT_VARIANT,
    VT_UNKNOWN,
    VT_DECIMAL,
    VT_I1,
    VT_UI1,
    VT_UI2,
    VT_UI4,
    VT_I8,
    VT_UI8,
    VT_INT,
    VT_UINT};
constexpr VARTYPE arrayTypes[] = {VT_BSTR, VT_VARIANT, VT_I2, VT_I4, VT_BOOL, VT_R8, VT_UI1};

// Builds the caller's arguments and owns everything they point to.
class Arguments
{
public:
    Arguments(FuzzInput &in, IDispatch *object)
        : m_in(in)
        , m_object(object)
    {
    }
    ~Arguments()
    {
        // what the callee assigned through a reference is the caller's to free
        for (VARIANT &v : m_storage)
            VariantClear(&v);
    }

    // A well-formed value of the type the input chooses (nesting stops at depth 3).
    VARIANT make(int depth = 0)
    {
        VARIANT v;
        VariantInit(&v);
        const std::uint8_t choice = m_in.byte();
        VARTYPE type = knownTypes[choice % std::size(knownTypes)];
        if (choice >= 0xF0)
            type = static_cast<VARTYPE>(m_in.word() & VT_TYPEMASK); // any type at all
        const bool array = (choice & 0x40) != 0 && depth < 3;
        const bool byRef = (choice & 0x20) != 0 && depth < 3;
        if (array) {
            fillArray(v, depth);
        } else if (type == VT_VARIANT) {
            // a variant is only ever passed by reference
            m_storage.push_back(depth < 3 ? make(depth + 1) : VARIANT {});
            v.vt = VT_VARIANT | VT_BYREF;
            v.pvarVal = &m_storage.back();
            return v;
        } else {
            fillScalar(v, type);
        }
        if (!byRef)
            return v;
        m_storage.push_back(v);
        VARIANT ref;
        VariantInit(&ref);
        ref.vt = static_cast<VARTYPE>(v.vt | VT_BYREF);
        ref.byref = &m_storage.back().lVal; // every member of the union starts here
        return ref;
    }

private:
    void fillScalar(VARIANT &v, VARTYPE type)
    {
        v.vt = type;
        switch (type) {
        case VT_BSTR:
            v.bstrVal = mrb::platform::allocBstr(m_in.piece('\0'));
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            v.pdispVal = (m_in.byte() & 1) ? m_object : nullptr;
            if (v.pdispVal)
                v.pdispVal->lpVtbl->AddRef(v.pdispVal);
            break;
        case VT_ERROR:
            v.scode = (m_in.byte() & 1) ? DISP_E_PARAMNOTFOUND : static_cast<SCODE>(m_in.dword());
            break;
        default: {
            // Any bits are a valid scalar (NaNs, infinities, huge dates included);
            // a type we do not know carries no pointer for anyone to follow.
            unsigned char bits[sizeof v.llVal * 2] = {};
            for (unsigned char &b : bits)
                b = m_in.byte();
            std::memcpy(&v.llVal, bits, sizeof v.llVal);
            break;
        }
        }
    }

    void fillArray(VARIANT &v, int depth)
    {
        const VARTYPE element = arrayTypes[m_in.byte() % std::size(arrayTypes)];
        const std::uint32_t count = m_in.byte() % 6;
        const std::int32_t lower = static_cast<std::int8_t>(m_in.byte());
        SAFEARRAY *array = SafeArrayCreateVector(element, lower, count);
        for (std::uint32_t i = 0; array && i < count; ++i) {
            auto *data = static_cast<unsigned char *>(array->pvData);
            switch (element) {
            case VT_BSTR:
                reinterpret_cast<BSTR *>(data)[i] = mrb::platform::allocBstr(m_in.piece('\0'));
                break;
            case VT_VARIANT: {
                VARIANT item = make(depth + 1);
                // an array owns its elements: a reference inside would point into our storage
                if (item.vt & VT_BYREF) {
                    VariantInit(&item);
                    item.vt = VT_I4;
                    item.lVal = static_cast<std::int32_t>(m_in.dword());
                }
                reinterpret_cast<VARIANT *>(data)[i] = item;
                break;
            }
            default:
                for (std::uint32_t b = 0; b < array->cbElements; ++b)
                    data[i * array->cbElements + b] = m_in.byte();
                break;
            }
        }
        v.vt = static_cast<VARTYPE>(VT_ARRAY | element);
        v.parray = array;
    }

    FuzzInput &m_in;
    IDispatch *m_object;
    std::deque<VARIANT> m_storage; // deque: references into it stay valid
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    mrb::platform::ComPtr<Probe> probe((new ProbeObject())->iface(), mrb::platform::Ref::Adopt);
    auto *object = reinterpret_cast<IDispatch *>(probe.get());

    const std::uint8_t head = in.byte();
    const DISPID member = (head & 0x80) ? static_cast<DISPID>(in.dword()) : 0x60030000 + (head & 7);
    const std::uint16_t flags = (head & 0x40) ? in.word() : DISPATCH_METHOD;
    const std::uint32_t count = in.byte() % 9;
    const std::uint32_t named = count ? in.byte() % (count + 1) : 0;

    std::vector<VARIANT> args;
    {
        Arguments arguments(in, object);
        for (std::uint32_t i = 0; i < count; ++i)
            args.push_back(arguments.make());
        std::vector<DISPID> ids;
        for (std::uint32_t k = 0; k < named; ++k)
            ids.push_back(static_cast<std::int8_t>(in.byte()) % 8);

        DISPPARAMS params {args.data(), ids.empty() ? nullptr : ids.data(), count, named};
        mrb::platform::Variant result;
        EXCEPINFO exception {};
        std::uint32_t argError = 0;
        const bool wantResult = (head & 0x10) == 0;
        probe->lpVtbl->Invoke(probe.get(),
            member,
            (head & 0x20) ? &iidProbe : &mrb::platform::IID_NULL,
            1033,
            flags,
            &params,
            wantResult ? result.get() : nullptr,
            &exception,
            &argError);
        (void)mrb::platform::takeExcepInfo(&exception);
        for (VARIANT &v : args)
            VariantClear(&v);
    }
    return 0;
}
