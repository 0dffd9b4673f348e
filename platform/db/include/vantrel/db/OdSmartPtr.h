// Intrusive smart pointer for OdRxObject classes. Converting from a pointer of another class
// checks the class description and raises OdError_NotThatKindOfClass when it does not fit.
#pragma once

#include <type_traits>
#include <utility>

#include <vantrel/db/OdDbExport.h>

class OdRxObject;
class OdRxClass;

enum OdRxObjMod { kOdRxObjAttach };

[[noreturn]] VANTREL_DB_EXPORT void odThrowNotThatKindOfClass(const OdRxClass* from, const OdRxClass* to);

template <class T>
class OdSmartPtr {
public:
    OdSmartPtr() = default;
    OdSmartPtr(std::nullptr_t) {}
    // Adds a reference.
    explicit OdSmartPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->addRef();
    }
    // Takes over a reference the caller already holds.
    OdSmartPtr(T* p, OdRxObjMod) : m_p(p) {}
    OdSmartPtr(const OdSmartPtr& o) : m_p(o.m_p)
    {
        if (m_p)
            m_p->addRef();
    }
    OdSmartPtr(OdSmartPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}

    // Upcasts are implicit; other conversions are checked at run time.
    template <class U>
    OdSmartPtr(const OdSmartPtr<U>& o) : m_p(checked(o.get()))
    {
        if (m_p)
            m_p->addRef();
    }
    template <class U>
    requires std::is_base_of_v<T, U> OdSmartPtr(OdSmartPtr<U>&& o)
    noexcept : m_p(o.detach()) {}

    ~OdSmartPtr()
    {
        if (m_p)
            m_p->release();
    }

    OdSmartPtr& operator=(OdSmartPtr o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    bool isNull() const { return m_p == nullptr; }
    explicit operator bool() const { return m_p != nullptr; }
    void release() { OdSmartPtr().swap(*this); }
    T* detach() { return std::exchange(m_p, nullptr); }
    void swap(OdSmartPtr& o) noexcept { std::swap(m_p, o.m_p); }

    friend bool operator==(const OdSmartPtr& a, const OdSmartPtr& b) { return a.m_p == b.m_p; }
    friend bool operator==(const OdSmartPtr& a, std::nullptr_t) { return a.m_p == nullptr; }

private:
    template <class U>
    static T* checked(U* p)
    {
        if constexpr (std::is_base_of_v<T, U>) {
            return p;
        } else {
            if (!p)
                return nullptr;
            if (!p->isKindOf(T::desc()))
                odThrowNotThatKindOfClass(p->isA(), T::desc());
            return static_cast<T*>(static_cast<OdRxObject*>(p));
        }
    }

    T* m_p = nullptr;
};

using OdRxObjectPtr = OdSmartPtr<OdRxObject>;
