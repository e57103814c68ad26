#pragma once

#include "pages/GmValue.h"

// A pair of lengths; a change of either member reaches the pair's own change callback.
// TGmValueSize names them width and height, TGmValuePoint X and Y.
class TGmCustomValueSize
{
public:
    explicit TGmCustomValueSize(TGmValue::ChangeCallback onChange = {});
    TGmCustomValueSize(const TGmCustomValueSize &) = delete;
    TGmCustomValueSize &operator=(const TGmCustomValueSize &) = delete;
    virtual ~TGmCustomValueSize() = default;

    void setOnChange(TGmValue::ChangeCallback onChange) { m_onChange = std::move(onChange); }
    void Assign(const TGmCustomValueSize &other);

protected:
    TGmValue m_first;
    TGmValue m_second;

private:
    void memberChanged();

    TGmValue::ChangeCallback m_onChange;
};

class TGmValueSize : public TGmCustomValueSize
{
public:
    using TGmCustomValueSize::TGmCustomValueSize;
    TGmValue &Width() { return m_first; }
    TGmValue &Height() { return m_second; }
    const TGmValue &Width() const { return m_first; }
    const TGmValue &Height() const { return m_second; }
};

class TGmValuePoint : public TGmCustomValueSize
{
public:
    using TGmCustomValueSize::TGmCustomValueSize;
    TGmValue &X() { return m_first; }
    TGmValue &Y() { return m_second; }
    const TGmValue &X() const { return m_first; }
    const TGmValue &Y() const { return m_second; }
};
