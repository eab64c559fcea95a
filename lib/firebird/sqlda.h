#pragma once

#include <ibase.h>

#include <QByteArray>
#include <QVariant>
#include <memory>
#include <vector>

namespace fb {

// An XSQLDA with room for its variables and buffers for their data and null flags.
class Sqlda {
public:
    explicit Sqlda(int capacity = 1);
    Sqlda(const Sqlda&) = delete;
    Sqlda& operator=(const Sqlda&) = delete;

    XSQLDA* get() { return da_.get(); }
    int count() const { return da_->sqld; }
    XSQLVAR& var(int i) { return da_->sqlvar[i]; }
    const XSQLVAR& var(int i) const { return da_->sqlvar[i]; }

    // Grows to hold `needed` variables; the caller describes again afterwards.
    bool ensureCapacity(int needed);
    // Points every variable at a buffer of its described size (result rows).
    void bindOutputBuffers();
    // Holds `count` variables whose types the caller sets (nothing described them).
    void declare(int count);
    // Every variable told as nullable and null until a row fills it, and whether one did: a
    // write's "returning" that found no row leaves the buffers as they were.
    void awaitRow();
    bool rowCame() const;

    QVariant value(int i) const;
    // Stores v for variable i, converting to the described type where that is exact and
    // otherwise passing text for the server to convert.
    void setValue(int i, const QVariant& v);

private:
    struct Deleter { void operator()(XSQLDA* p) const { std::free(p); } };
    std::unique_ptr<XSQLDA, Deleter> da_;
    std::vector<QByteArray> data_;
    std::vector<short> nulls_;
    std::vector<short> describedType_;
    std::vector<short> describedLength_;
};

} // namespace fb
