#pragma once

#include <memory>
#include <vector>

// An owning list of shared drawing resources (pens, brushes, fonts, pictures) of a page list.
template <typename T> class TGmResourceList
{
public:
    TGmResourceList() = default;
    TGmResourceList(const TGmResourceList &) = delete;
    TGmResourceList &operator=(const TGmResourceList &) = delete;
    virtual ~TGmResourceList() = default;

    int Count() const { return int(m_items.size()); }
    T *At(int index) const { return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr; }
    int IndexOf(const T *item) const
    {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].get() == item)
                return int(i);
        }
        return -1;
    }
    T *Append(const T &value)
    {
        m_items.push_back(std::make_unique<T>(value));
        return m_items.back().get();
    }
    virtual void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<T>> m_items;
};
