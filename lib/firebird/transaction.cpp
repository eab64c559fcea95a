#include "firebird/transaction.h"

#include <ibase.h>

#include <string>
#include <type_traits>

#include "firebird/connection.h"
#include "firebird/environment.h"
#include "firebird/error.h"

static_assert(std::is_same_v<FB_API_HANDLE, unsigned int>, "handles are held as unsigned int");

namespace fb {

namespace {

std::string parameterBlock(Isolation isolation, int lockWaitSeconds)
{
    std::string tpb{char(isc_tpb_version3)};
    if (isolation == Isolation::Snapshot) {
        tpb += {char(isc_tpb_read), char(isc_tpb_concurrency), char(isc_tpb_nowait)};
        return tpb;
    }
    tpb += {char(isc_tpb_write), char(isc_tpb_read_committed), char(isc_tpb_rec_version)};
    if (isolation == Isolation::ReadCommittedNoWait) {
        tpb += char(isc_tpb_nowait);
        return tpb;
    }
    const auto seconds = static_cast<unsigned>(lockWaitSeconds);
    tpb += {char(isc_tpb_wait), char(isc_tpb_lock_timeout), char(4), char(seconds & 0xFF), char((seconds >> 8) & 0xFF),
            char((seconds >> 16) & 0xFF), char((seconds >> 24) & 0xFF)};
    return tpb;
}

} // namespace

Transaction::~Transaction()
{
    abandon();
}

void Transaction::abandon()
{
    if (handle_) {
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &handle_);
        handle_ = 0;
    }
}

void Transaction::start()
{
    if (handle_)
        return;
    if (!connection_ || !connection_->isOpen())
        throw Error(QStringLiteral("Brak połączenia z bazą danych."), QStringLiteral("start transaction"));
    ISC_STATUS_ARRAY status;
    const std::string tpb = parameterBlock(isolation_, lockWaitSeconds_);
    isc_start_transaction(status, &handle_, 1, connection_->handle(), static_cast<unsigned short>(tpb.size()), tpb.data());
    check(status, QStringLiteral("start transaction"));
}

void Transaction::commit()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &handle_);
    check(status, QStringLiteral("commit"));
}

void Transaction::commitRetaining()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_commit_retaining(status, &handle_);
    check(status, QStringLiteral("commit retaining"));
}

void Transaction::rollback()
{
    if (!handle_)
        return;
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &handle_);
    check(status, QStringLiteral("rollback"));
}

} // namespace fb
