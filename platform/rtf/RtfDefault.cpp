#include "platform/RtfCodec.h"

#include <QTextDocument>

namespace {

// Stand-in until the real reader and writer exist: reading always fails, so the control falls
// back to plain text; writing produces nothing.
class UnavailableRtfCodec final : public RtfCodec
{
public:
    bool read(QByteArrayView, QTextDocument &into, QString *error) override
    {
        into.clear();
        if (error)
            *error = QStringLiteral("Rich text is not available");
        return false;
    }
    QByteArray write(const QTextDocument &, int, int) override { return {}; }
};

} // namespace

RtfCodec &defaultRtfCodec()
{
    static UnavailableRtfCodec codec;
    return codec;
}
