#pragma once

#include "pages/GmResourceList.h"

#include <QList>
#include <QPicture>

// The pictures of a page list, each kept once with a use count. With sharing on, a picture equal
// to a stored one (same width, height and recorded bytes) is not stored again; its count grows.
class TGmGraphicList : public TGmResourceList<QPicture>
{
public:
    // Stores a copy of picture (or finds an equal one) and returns the stored picture. The caller
    // keeps its own picture.
    QPicture *AddGraphic(const QPicture &picture);
    QPicture *GraphicAt(int index) const { return At(index); }
    int IndexOfGraphic(const QPicture *picture) const { return IndexOf(picture); }
    // Use count of the picture at index (0 outside the list).
    int UseCount(int index) const { return m_counts.value(index); }

    bool Sharing() const { return m_sharing; }
    void SetSharing(bool sharing) { m_sharing = sharing; }

    void Clear() override;

    static bool SamePicture(const QPicture &a, const QPicture &b);

private:
    QList<int> m_counts;
    bool m_sharing = true;
};
