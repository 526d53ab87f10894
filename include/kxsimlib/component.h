// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The library as a component: its identifiers, the object model hosts use to
// create its classes and to call their members by name, and the four entry
// points of the shared library.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/status.h"
#include "kxsimlib/variant.h"

namespace kxsim {

/// A 128-bit identifier, laid out as the component runtime's GUID.
struct KXSIMLIB_EXPORT Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    friend constexpr bool operator==(const Guid&, const Guid&) = default;

    /// "{CAEDA38F-CD55-42AD-8EA6-60A755B7F50E}"
    std::string toString() const;
    /// Reads the text toString writes, with or without braces, in either letter case.
    static std::optional<Guid> fromString(std::string_view text);
};

/// The result codes of the entry points and class factories, valued as the
/// component runtime's HRESULTs.
using HResult = int32_t;
namespace hresult {
inline constexpr HResult Ok = 0;              ///< S_OK: done; for DllCanUnloadNow: may unload
inline constexpr HResult False = 1;           ///< S_FALSE: for DllCanUnloadNow: still in use
inline constexpr HResult NoInterface = static_cast<HResult>(0x80004002);  ///< E_NOINTERFACE
inline constexpr HResult Pointer = static_cast<HResult>(0x80004003);      ///< E_POINTER
inline constexpr HResult Fail = static_cast<HResult>(0x80004005);         ///< E_FAIL
inline constexpr HResult ClassNotAvailable = static_cast<HResult>(0x80040111);  ///< CLASS_E_CLASSNOTAVAILABLE
inline constexpr HResult RegisterClassFailed = static_cast<HResult>(0x80040201);  ///< SELFREG_E_CLASS
}  // namespace hresult

/// The fixed identifiers of the library. They never change between builds.
namespace ids {
/// The type library kxsimlib, "Kestrix SIM Lib", version 31.0, locale 0x409.
inline constexpr Guid TypeLibrary{0xcaeda38f, 0xcd55, 0x42ad, {0x8e, 0xa6, 0x60, 0xa7, 0x55, 0xb7, 0xf5, 0x0e}};
inline constexpr Guid CDialogsClass{0xe51d9852, 0x6501, 0x408b, {0xa2, 0x7c, 0x85, 0x2a, 0xf6, 0xab, 0xf6, 0xbd}};
/// The interface published as "_CDialogs".
inline constexpr Guid CDialogsInterface{0x7d9c7f8c, 0x5646, 0x4ec3, {0x82, 0x23, 0xc2, 0x6f, 0x2f, 0x37, 0x16, 0xa3}};
inline constexpr Guid CommonsClass{0xca1b4cab, 0x5e49, 0x434c, {0x8c, 0x80, 0xf8, 0xdb, 0xaa, 0x32, 0x8c, 0xe7}};
/// The interface published as "_Commons".
inline constexpr Guid CommonsInterface{0xab818953, 0x9505, 0x4d1f, {0xad, 0x1e, 0x0a, 0x56, 0x31, 0x9d, 0x7c, 0xd3}};
inline constexpr Guid CCBClass{0x05b5864b, 0x0437, 0x410c, {0x82, 0x40, 0xc7, 0x0f, 0x58, 0x04, 0xd8, 0xd4}};
/// The interface published as "_CCB".
inline constexpr Guid CCBInterface{0x944218f2, 0xdc2c, 0x4b9f, {0xa0, 0xf9, 0x77, 0x3e, 0xf3, 0xa6, 0xbd, 0x23}};
/// IClassFactory, the interface DllGetClassObject hands out.
inline constexpr Guid ClassFactoryInterface{0xa29e80a4, 0xa56f, 0x4037, {0xa6, 0x39, 0x19, 0x5e, 0x37, 0x48, 0x7e, 0x87}};
/// IDispatchable, the interface every object of the library offers.
inline constexpr Guid DispatchableInterface{0xd4ab9ca2, 0x8e8a, 0x45a3, {0xac, 0x44, 0x92, 0x3c, 0x4c, 0x55, 0x40, 0xe5}};
}  // namespace ids

struct TypeLibraryIdentity {
    Guid id;
    std::u16string_view name;         ///< "kxsimlib"
    std::u16string_view description;  ///< "Kestrix SIM Lib"
    uint16_t majorVersion;            ///< 31
    uint16_t minorVersion;            ///< 0
    uint32_t locale;                  ///< 0x409
};

inline constexpr TypeLibraryIdentity kTypeLibrary{ids::TypeLibrary, u"kxsimlib", u"Kestrix SIM Lib", 31, 0, 0x409};

/// A public class: its name and identifier and its default interface's
/// published name ("_Commons") and identifier.
struct ClassIdentity {
    std::u16string_view name;
    Guid classId;
    std::u16string_view interfaceName;
    Guid interfaceId;
    bool creatable;  ///< false for CCB: hosts receive it from Commons.PCB only
};

inline constexpr std::array<ClassIdentity, 3> kClasses{{
    {u"CDialogs", ids::CDialogsClass, u"_CDialogs", ids::CDialogsInterface, true},
    {u"Commons", ids::CommonsClass, u"_Commons", ids::CommonsInterface, true},
    {u"CCB", ids::CCBClass, u"_CCB", ids::CCBInterface, false},
}};

/// The class of \a name (letter case ignored), or null.
KXSIMLIB_EXPORT const ClassIdentity* findClass(std::u16string_view name);
/// The class of \a classId, or null.
KXSIMLIB_EXPORT const ClassIdentity* findClass(const Guid& classId);

/// A dispatch identifier: a member's number within its interface, from 1 in
/// the interface's member order.
using DispId = int32_t;

/// How a member is invoked; combine with |. Scripting hosts calling a function
/// usually pass Method | PropertyGet.
namespace dispatch {
inline constexpr uint16_t Method = 1;
inline constexpr uint16_t PropertyGet = 2;
inline constexpr uint16_t PropertyPut = 4;
inline constexpr uint16_t PropertyPutRef = 8;
}  // namespace dispatch

/// The type of a member's parameter or result. A Picture travels as a String
/// holding the path of an image file, or as Empty for no picture.
enum class ParamType { None, Integer, Long, Boolean, String, Object, Picture, Variant };

struct ParameterInfo {
    std::u16string_view name;
    ParamType type;
    bool byRef;  ///< the member may write it, and Invoke writes it back
};

enum class MemberKind {
    Function,        ///< called with Method or PropertyGet; has a result
    Procedure,       ///< called with Method; no result
    PropertyGet,     ///< read with PropertyGet
    PropertyPut,     ///< assigned with PropertyPut; its argument is the value
    PropertyPutRef,  ///< assigned by reference with PropertyPutRef
};

/// One entry of an interface's dispatch table. A property that is both read
/// and assigned has two entries with the same identifier.
struct MemberInfo {
    DispId id;
    std::u16string_view name;
    MemberKind kind;
    std::vector<ParameterInfo> params;
    ParamType result;  ///< None for procedures and assignments
};

/*!
  \brief The base of every object of the library: identity, lifetime and call by name.

  Objects live in std::shared_ptr: the reference count of the shared pointer is
  the object's reference count, and an object is destroyed with its last
  reference. While any object lives, DllCanUnloadNow answers "still in use".

  Call by name, for scripting hosts: GetIDsOfNames maps a member name
  (letter case ignored) to its dispatch identifier, Invoke calls it. Arguments
  are given in the member's declared order (not reversed). Invoke converts
  each argument to the parameter's type (a Long from an Integer, a Boolean or a
  String holding a number; a String from a number; Empty reads as 0 or ""),
  calls the member, writes every by-reference argument back into \a args with
  the parameter's type, and stores the declared result in \a result (Empty for
  procedures and assignments). A failure is a Status: 438 for an unknown name,
  identifier or a wrong way of invoking, 450 for a wrong number of arguments,
  13 for an argument that cannot be converted, 6 for a number out of range, and
  the member's own failure otherwise.

  \code
  kxsim::DispId id = 0;
  std::vector<kxsim::Variant> args{kxsim::Variant::fromString(u"/tmp/"),
      kxsim::Variant::fromString(u".txt"), kxsim::Variant::fromLong(0), kxsim::Variant()};
  kxsim::Variant result;
  if (commons->GetIDsOfNames(u"NewTempFileName", id) &&
      commons->Invoke(id, kxsim::dispatch::Method, args, result))
      use(result.number(), args[3].text());
  \endcode
*/
class KXSIMLIB_EXPORT IDispatchable {
public:
    virtual ~IDispatchable();
    IDispatchable(const IDispatchable&) = delete;
    IDispatchable& operator=(const IDispatchable&) = delete;

    /// The object's class and default interface.
    virtual const ClassIdentity& identity() const = 0;
    /// The default interface's dispatch table, in member order.
    virtual const std::vector<MemberInfo>& members() const = 0;
    /// The dispatch identifier of member \a name, letter case ignored.
    virtual Status GetIDsOfNames(std::u16string_view name, DispId& id) const = 0;
    /// Calls member \a id as \a flags (dispatch::Method, ...) says.
    virtual Status Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) = 0;

protected:
    IDispatchable();
};

/*!
  \brief The class object of a creatable class, handed out by DllGetClassObject.

  It is reference-counted by hand like its runtime namesake: DllGetClassObject
  hands it out with one reference, and the caller calls Release when done.
  While a reference or a LockServer(true) is outstanding, DllCanUnloadNow
  answers "still in use".
*/
class IClassFactory {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    /// A new object of the factory's class.
    virtual Status CreateInstance(std::shared_ptr<IDispatchable>& object) = 0;
    /// Keeps the library loaded while locked; calls nest.
    virtual void LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

/// The registration file DllRegisterServer writes: kxsimlib/components.ini
/// under $XDG_DATA_HOME (~/.local/share when unset or not absolute).
KXSIMLIB_EXPORT std::string registrationFile();

/// What the last failed DllRegisterServer or DllUnregisterServer of this
/// thread failed at and the system's reason, such as "cannot write
/// /home/ann/.local/share/kxsimlib/components.ini: No space left on device";
/// empty after a success.
KXSIMLIB_EXPORT std::string registrationFailure();

}  // namespace kxsim

extern "C" {
/// The class object of \a classId (CDialogs or Commons): with \a interfaceId
/// ids::ClassFactoryInterface, \a object receives an kxsim::IClassFactory*
/// holding one reference. ClassNotAvailable for any other class, CCB included;
/// NoInterface for any other interface; Pointer for a null argument.
KXSIMLIB_EXPORT kxsim::HResult DllGetClassObject(const kxsim::Guid* classId, const kxsim::Guid* interfaceId,
                                                 void** object);
/// Ok when no object of the library, no class factory reference and no
/// server lock is alive, so the host may unload the library; False otherwise.
KXSIMLIB_EXPORT kxsim::HResult DllCanUnloadNow();
/// Writes the registration file: the type library and, per class, its name,
/// interface and the path of this library. RegisterClassFailed when it
/// cannot be written (kxsim::registrationFailure() says why).
KXSIMLIB_EXPORT kxsim::HResult DllRegisterServer();
/// Removes the registration file (and its folder when empty). Ok when none is
/// left; RegisterClassFailed otherwise (kxsim::registrationFailure() says why).
KXSIMLIB_EXPORT kxsim::HResult DllUnregisterServer();
}
