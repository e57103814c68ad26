#include "platform/RtfCodec.h"

namespace {
RtfCodec *g_installed = nullptr;
}

RtfCodec &RtfCodec::instance()
{
    return g_installed ? *g_installed : defaultRtfCodec();
}

void RtfCodec::setInstance(RtfCodec *codec)
{
    g_installed = codec;
}
