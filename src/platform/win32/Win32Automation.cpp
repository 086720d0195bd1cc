#include "platform/win32/Win32Automation.h"

#include <algorithm>

#include "platform/win32/Win32Text.h"

namespace ombrel::win32 {

namespace p = platform;

namespace {

// Every thread that calls the library joins the process's multithreaded apartment, so that
// an object created on one of the command line's workers may be used from the next thread
// that worker runs on: COM hands out proxies that work from any thread of the apartment.
// A thread that is already in a single-threaded apartment (a window's) stays in it.
class Apartment {
  public:
    Apartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~Apartment() {
        if (joined_) {
            CoUninitialize();
        }
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

  private:
    bool joined_;
};

void enterApartment() {
    thread_local Apartment apartment;
}

// A BSTR, freed with it.
class Bstr {
  public:
    explicit Bstr(std::wstring_view text)
        : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return text_; }

  private:
    BSTR text_;
};

// A converted copy of value, or an empty VARIANT when it has no reading as type.
Variant converted(const VARIANT& value, VARTYPE type) {
    Variant result;
    if (FAILED(VariantChangeType(&result.native(), const_cast<VARIANT*>(&value), 0, type))) {
        VariantClear(&result.native());
    }
    return result;
}

}  // namespace

Variant::Variant(int number) {
    VariantInit(&value_);
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = number;
}

Variant::Variant(std::string_view ansi) {
    VariantInit(&value_);
    const std::wstring wide = toWide(ansi);
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

Variant::Variant(IDispatch* object) {
    VariantInit(&value_);
    V_VT(&value_) = VT_DISPATCH;
    V_DISPATCH(&value_) = object;
    if (object != nullptr) {
        object->AddRef();
    }
}

Variant::Variant(const Variant& other) {
    VariantInit(&value_);
    VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
    }
    return *this;
}

std::string Variant::text() const {
    Variant text = converted(value_, VT_BSTR);
    const BSTR wide = V_VT(&text.value_) == VT_BSTR ? V_BSTR(&text.value_) : nullptr;
    return wide == nullptr ? std::string() : fromWide(std::wstring_view(wide, SysStringLen(wide)));
}

int Variant::number() const {
    Variant number = converted(value_, VT_I4);
    return V_VT(&number.value_) == VT_I4 ? static_cast<int>(V_I4(&number.value_)) : 0;
}

bool Variant::truth() const {
    // Basic's truth: anything that reads as a number other than 0.
    return number() != 0;
}

Dispatch::Dispatch(const Dispatch& other) : object_(other.object_) {
    if (object_ != nullptr) {
        object_->AddRef();
    }
}

Dispatch& Dispatch::operator=(const Dispatch& other) {
    if (this != &other) {
        reset();
        object_ = other.object_;
        if (object_ != nullptr) {
            object_->AddRef();
        }
    }
    return *this;
}

void Dispatch::reset() {
    if (object_ != nullptr) {
        object_->Release();
        object_ = nullptr;
    }
}

p::HRESULT Dispatch::create(std::string_view progId, Dispatch& object) {
    enterApartment();
    object.reset();
    CLSID classId{};
    const std::wstring name = toWide(progId);
    // A ProgID nobody registered (CO_E_CLASSSTRING) is the product missing, just as a
    // registered ProgID whose class is gone: the library's users see one answer for both.
    if (FAILED(CLSIDFromProgID(name.c_str(), &classId))) {
        return REGDB_E_CLASSNOTREG;
    }
    IDispatch* created = nullptr;
    const HRESULT result = CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(&created));
    if (FAILED(result)) {
        return result;
    }
    object = Dispatch(created);
    return S_OK;
}

Dispatch Dispatch::of(const Variant& value) {
    Variant& held = const_cast<Variant&>(value);
    VARIANT& native = held.native();
    IUnknown* unknown = nullptr;
    if (V_VT(&native) == VT_DISPATCH) {
        unknown = V_DISPATCH(&native);
    } else if (V_VT(&native) == VT_UNKNOWN) {
        unknown = V_UNKNOWN(&native);
    }
    IDispatch* object = nullptr;
    if (unknown == nullptr ||
        FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
        return Dispatch();
    }
    return Dispatch(object);
}

p::HRESULT Dispatch::invoke(std::wstring_view name, WORD flags,
                            const std::vector<Variant>& arguments, const Variant* assigned,
                            Variant* result) const {
    enterApartment();
    if (object_ == nullptr) {
        return E_POINTER;
    }
    DISPID member = DISPID_NEWENUM;
    if (!name.empty()) {
        const std::wstring memberName(name);
        LPOLESTR names[] = {const_cast<LPOLESTR>(memberName.c_str())};
        const HRESULT found =
            object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
        if (FAILED(found)) {
            return found;
        }
    }
    // Automation takes the arguments last first; an assigned value goes in front of them.
    std::vector<VARIANT> passed;
    if (assigned != nullptr) {
        passed.push_back(const_cast<Variant*>(assigned)->native());
    }
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) {
        passed.push_back(const_cast<Variant&>(*it).native());
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = passed.empty() ? nullptr : passed.data();
    parameters.cArgs = static_cast<UINT>(passed.size());
    if (assigned != nullptr) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT badArgument = 0;
    Variant answer;
    HRESULT outcome = object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                      &answer.native(), &exception, &badArgument);
    if (outcome == DISP_E_EXCEPTION) {
        // The object's own error, as Basic's Err.Number would carry it.
        const HRESULT raised = exception.scode != 0 ? exception.scode
                               : exception.wCode != 0
                                   ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, exception.wCode)
                                   : E_FAIL;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        outcome = raised;
    }
    if (SUCCEEDED(outcome) && result != nullptr) {
        *result = answer;
    }
    return outcome;
}

p::HRESULT Dispatch::get(std::wstring_view name, Variant& result,
                         const std::vector<Variant>& arguments) const {
    return invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments, nullptr, &result);
}

p::HRESULT Dispatch::call(std::wstring_view name, const std::vector<Variant>& arguments) const {
    return invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, nullptr, nullptr);
}

p::HRESULT Dispatch::put(std::wstring_view name, const std::vector<Variant>& arguments,
                         const Variant& value) const {
    const HRESULT assigned = invoke(name, DISPATCH_PROPERTYPUT, arguments, &value, nullptr);
    // An object is assigned by reference where the property takes no copy of it (Basic's Set).
    if (assigned == DISP_E_MEMBERNOTFOUND) {
        return invoke(name, DISPATCH_PROPERTYPUTREF, arguments, &value, nullptr);
    }
    return assigned;
}

p::HRESULT Dispatch::elements(std::vector<Variant>& items) const {
    items.clear();
    Variant enumerator;
    const HRESULT asked = invoke(std::wstring_view(), DISPATCH_METHOD | DISPATCH_PROPERTYGET, {},
                                 nullptr, &enumerator);
    if (FAILED(asked)) {
        return asked;
    }
    VARIANT& held = enumerator.native();
    IUnknown* unknown = V_VT(&held) == VT_UNKNOWN    ? V_UNKNOWN(&held)
                        : V_VT(&held) == VT_DISPATCH ? V_DISPATCH(&held)
                                                     : nullptr;
    IEnumVARIANT* walk = nullptr;
    if (unknown == nullptr ||
        FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&walk)))) {
        return DISP_E_TYPEMISMATCH;
    }
    for (;;) {
        Variant item;
        ULONG fetched = 0;
        if (walk->Next(1, &item.native(), &fetched) != S_OK || fetched != 1) {
            break;
        }
        items.push_back(item);
    }
    walk->Release();
    return S_OK;
}

std::string Dispatch::text(std::wstring_view name) const {
    Variant value;
    return SUCCEEDED(get(name, value)) ? value.text() : std::string();
}

int Dispatch::number(std::wstring_view name) const {
    Variant value;
    return SUCCEEDED(get(name, value)) ? value.number() : 0;
}

Dispatch Dispatch::object(std::wstring_view name) const {
    Variant value;
    return SUCCEEDED(get(name, value)) ? of(value) : Dispatch();
}

std::vector<Dispatch> Dispatch::collection(std::wstring_view name) const {
    std::vector<Dispatch> objects;
    const Dispatch holder = object(name);
    std::vector<Variant> items;
    if (holder.empty() || FAILED(holder.elements(items))) {
        return objects;
    }
    for (const Variant& item : items) {
        Dispatch element = of(item);
        if (!element.empty()) {
            objects.push_back(std::move(element));
        }
    }
    return objects;
}

}  // namespace ombrel::win32
