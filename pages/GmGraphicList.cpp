#include "pages/GmGraphicList.h"

#include <cstring>

bool TGmGraphicList::SamePicture(const QPicture &a, const QPicture &b)
{
    const QRect ra = a.boundingRect();
    const QRect rb = b.boundingRect();
    if (ra.height() != rb.height() || ra.width() != rb.width() || a.size() != b.size())
        return false;
    return a.size() == 0 || std::memcmp(a.data(), b.data(), a.size()) == 0;
}

QPicture *TGmGraphicList::AddGraphic(const QPicture &picture)
{
    if (m_sharing) {
        for (int i = 0; i < Count(); ++i) {
            if (SamePicture(*At(i), picture)) {
                ++m_counts[i];
                return At(i);
            }
        }
    }
    QPicture *stored = Append(picture);
    m_counts << 1;
    return stored;
}

void TGmGraphicList::Clear()
{
    TGmResourceList<QPicture>::Clear();
    m_counts.clear();
}
