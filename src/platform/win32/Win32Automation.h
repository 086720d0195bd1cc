#pragma once
// Late-bound COM automation, the way the farm library is reached: objects created from their
// ProgID, their properties and methods called by name through IDispatch, collections walked
// as For Each walks them. Texts cross in the boundary's code page.
//
// Include last, after every platform header (windows.h, see Win32Handles.h).

#include <string>
#include <string_view>
#include <vector>

#include "platform/FarmLibrary.h"
#include "platform/win32/Win32Handles.h"

#include <ole2.h>

namespace ombrel::win32 {

// An automation value, cleared with it.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    explicit Variant(int number);
    explicit Variant(std::string_view ansi);
    explicit Variant(IDispatch* object);
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant& other);
    Variant& operator=(const Variant& other);

    VARIANT& native() { return value_; }
    // The value as a text, a whole number or a truth, as Basic would read it: "" and 0 when
    // it has no such reading.
    std::string text() const;
    int number() const;
    bool truth() const;

  private:
    VARIANT value_;
};

// An object's IDispatch, released with it.
class Dispatch {
  public:
    Dispatch() = default;
    ~Dispatch() { reset(); }
    Dispatch(const Dispatch& other);
    Dispatch& operator=(const Dispatch& other);

    // CreateObject(progId): REGDB_E_CLASSNOTREG where no class is registered under it.
    static platform::HRESULT create(std::string_view progId, Dispatch& object);
    // The object a value holds; an empty Dispatch when it holds none.
    static Dispatch of(const Variant& value);

    bool empty() const { return object_ == nullptr; }
    IDispatch* native() const { return object_; }

    // Property get (or a method that answers a value) by name, arguments in their written
    // order.
    platform::HRESULT get(std::wstring_view name, Variant& result,
                          const std::vector<Variant>& arguments = {}) const;
    // A method by name, its answer dropped.
    platform::HRESULT call(std::wstring_view name,
                           const std::vector<Variant>& arguments = {}) const;
    // Property assignment: name(arguments) = value.
    platform::HRESULT put(std::wstring_view name, const std::vector<Variant>& arguments,
                          const Variant& value) const;
    // For Each over a collection object: its items in the collection's order.
    platform::HRESULT elements(std::vector<Variant>& items) const;

    // Shorthands for the reads whose failure the tool leaves unhandled: "" or 0 then.
    std::string text(std::wstring_view name) const;
    int number(std::wstring_view name) const;
    Dispatch object(std::wstring_view name) const;
    // The items of the collection a property holds; none when it cannot be read.
    std::vector<Dispatch> collection(std::wstring_view name) const;

  private:
    explicit Dispatch(IDispatch* adopted) : object_(adopted) {}
    void reset();
    platform::HRESULT invoke(std::wstring_view name, WORD flags,
                             const std::vector<Variant>& arguments, const Variant* assigned,
                             Variant* result) const;

    IDispatch* object_ = nullptr;
};

}  // namespace ombrel::win32
