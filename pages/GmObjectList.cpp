#include "pages/GmObjectList.h"

#include <algorithm>

TGmObjectList::TGmObjectList(std::function<void()> onChange)
    : m_onChange(std::move(onChange))
{ }

TGmBaseObject *TGmObjectList::At(int index) const
{
    return index >= 0 && index < Count() ? m_objects[size_t(index)].get() : nullptr;
}

int TGmObjectList::IndexOf(const TGmBaseObject *object) const
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i].get() == object)
            return int(i);
    }
    return -1;
}

void TGmObjectList::Add(TGmBaseObject *object)
{
    Insert(Count(), object);
}

void TGmObjectList::Insert(int index, TGmBaseObject *object)
{
    if (!object)
        return;
    index = std::clamp(index, 0, Count());
    m_objects.insert(m_objects.begin() + index, std::unique_ptr<TGmBaseObject>(object));
    object->setOnChange([this] { notify(); });
    if (auto *visible = dynamic_cast<TGmVisibleObject *>(object))
        visible->setZOrderHook([this](TGmVisibleObject *o, TGmZOrder where) { Move(o, where); });
    notify();
}

void TGmObjectList::Move(TGmBaseObject *object, TGmZOrder where)
{
    const int from = IndexOf(object);
    if (from < 0)
        return;
    int to = from;
    switch (where) {
    case gmBringToFront:
        to = Count() - 1;
        break;
    case gmBringForward:
        to = std::min(from + 1, Count() - 1);
        break;
    case gmSendBackward:
        to = std::max(from - 1, 0);
        break;
    case gmSendToBack:
        to = 0;
        break;
    }
    if (to == from)
        return;
    auto owned = std::move(m_objects[size_t(from)]);
    m_objects.erase(m_objects.begin() + from);
    m_objects.insert(m_objects.begin() + to, std::move(owned));
    notify();
}

void TGmObjectList::Clear()
{
    if (m_objects.empty())
        return;
    m_objects.clear();
    notify();
}

void TGmObjectList::notify()
{
    if (m_onChange)
        m_onChange();
}
