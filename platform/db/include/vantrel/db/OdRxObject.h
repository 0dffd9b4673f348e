// Reference-counted base of every drawing object, with run-time class descriptions so that
// objects can be tested and cast by class (a failed checked cast raises an OdError).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class OdRxObject;

// Describes one class: its name, its DXF record name, its parent and how to create an instance.
class VANTREL_DB_EXPORT OdRxClass {
public:
    using Creator = OdRxObject* (*)();
    OdRxClass(const char* name, const char* dxfName, const OdRxClass* parent, Creator creator);

    const std::string& name() const { return m_name; }
    const std::string& dxfName() const { return m_dxfName; }
    const OdRxClass* myParent() const { return m_parent; }
    // The place of the class in the order classes were described: small numbers from 0 up, for
    // tables of what belongs to each class.
    std::size_t index() const { return m_index; }
    bool isDerivedFrom(const OdRxClass* other) const;
    // Creates a new instance (reference count 0), or null for abstract classes.
    OdRxObject* create() const { return m_creator ? m_creator() : nullptr; }

    // Looks a class up by its C++ name or by its DXF record name; null when unknown.
    static const OdRxClass* byName(const std::string& name);
    static const OdRxClass* byDxfName(const std::string& dxfName);

private:
    std::string m_name;
    std::string m_dxfName;
    const OdRxClass* m_parent;
    Creator m_creator;
    std::size_t m_index;
};

class VANTREL_DB_EXPORT OdRxObject {
public:
    virtual ~OdRxObject() = default;

    static const OdRxClass* desc();
    virtual const OdRxClass* isA() const { return desc(); }
    bool isKindOf(const OdRxClass* cls) const { return isA()->isDerivedFrom(cls); }

    virtual void addRef() { ++m_refs; }
    virtual void release()
    {
        if (--m_refs == 0)
            delete this;
    }
    std::uint32_t numRefs() const { return m_refs; }

protected:
    OdRxObject() = default;
    // A copy is a new object: it never inherits the reference count.
    OdRxObject(const OdRxObject&) : m_refs(0) {}
    OdRxObject& operator=(const OdRxObject&) { return *this; }

    std::uint32_t m_refs = 0;
};

// Declares the class-description members of a class derived from OdRxObject.
#define ODRX_DECLARE_MEMBERS(ClassName)                                                                                \
public:                                                                                                                \
    static const OdRxClass* desc();                                                                                    \
    const OdRxClass* isA() const override { return desc(); }                                                           \
    static OdSmartPtr<ClassName> cast(const OdRxObject* obj)                                                           \
    {                                                                                                                  \
        return obj && obj->isKindOf(desc())                                                                            \
            ? OdSmartPtr<ClassName>(static_cast<ClassName*>(const_cast<OdRxObject*>(obj)))                             \
            : OdSmartPtr<ClassName>();                                                                                 \
    }                                                                                                                  \
    static OdSmartPtr<ClassName> createObject();                                                                       \
                                                                                                                       \
private:

// Defines them in one source file; DXFNAME may be "" for classes without a DXF record.
#define ODRX_DEFINE_MEMBERS_IMPL(ClassName, ParentName, DxfName, CreatorExpr)                                          \
    const OdRxClass* ClassName::desc()                                                                                 \
    {                                                                                                                  \
        static const OdRxClass cls(#ClassName, DxfName, ParentName::desc(), CreatorExpr);                              \
        return &cls;                                                                                                   \
    }                                                                                                                  \
    OdSmartPtr<ClassName> ClassName::createObject()                                                                    \
    {                                                                                                                  \
        return OdSmartPtr<ClassName>(static_cast<ClassName*>(desc()->create()));                                       \
    }                                                                                                                  \
    namespace {                                                                                                        \
    [[maybe_unused]] const OdRxClass* const registered##ClassName = ClassName::desc();                                 \
    }

#define ODRX_DEFINE_MEMBERS(ClassName, ParentName, DxfName)                                                            \
    ODRX_DEFINE_MEMBERS_IMPL(ClassName, ParentName, DxfName, []() -> OdRxObject* { return new ClassName(); })

#define ODRX_DEFINE_ABSTRACT_MEMBERS(ClassName, ParentName) ODRX_DEFINE_MEMBERS_IMPL(ClassName, ParentName, "", nullptr)

#include <vantrel/db/OdSmartPtr.h>
#include <vantrel/db/OdDbExport.h>
