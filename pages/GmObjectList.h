#pragma once

#include "pages/GmClasses.h"

#include <functional>
#include <memory>
#include <vector>

// The drawing objects of one page in drawing order; owns them. Adding an object, a change of an
// object and a z-order move all reach the change callback (the page's content-changed).
class TGmObjectList
{
public:
    explicit TGmObjectList(std::function<void()> onChange = {});
    TGmObjectList(const TGmObjectList &) = delete;
    TGmObjectList &operator=(const TGmObjectList &) = delete;

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    int Count() const { return int(m_objects.size()); }
    TGmBaseObject *At(int index) const;
    int IndexOf(const TGmBaseObject *object) const;
    // Takes ownership and appends.
    void Add(TGmBaseObject *object);
    // Takes ownership and inserts at index, clamped into 0..Count().
    void Insert(int index, TGmBaseObject *object);
    // Moves an object of this list: to the end (drawn last), one later, one earlier, to the start.
    void Move(TGmBaseObject *object, TGmZOrder where);
    void Clear();

private:
    void notify();

    std::vector<std::unique_ptr<TGmBaseObject>> m_objects;
    std::function<void()> m_onChange;
};
