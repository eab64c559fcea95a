#include "firebird/transaction.h"

#include <ibase.h>

#include <type_traits>

#include "firebird/connection.h"
#include "firebird/environment.h"
#include "firebird/error.h"

static_assert(std::is_same_v<FB_API_HANDLE, unsigned int>, "handles are held as unsigned int");

namespace fb {

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

void Transaction::setConnection(Connection* connection)
{
    if (isActive())
        throw Error(QStringLiteral("Transakcja jest aktywna; nie można zmienić jej bazy danych."));
    connection_ = connection;
}

void Transaction::start()
{
    if (handle_)
        return;
    if (!connection_ || !connection_->isOpen())
        throw Error(QStringLiteral("Brak połączenia z bazą danych."), QStringLiteral("start transaction"));
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &handle_, 1, connection_->handle(), 0, nullptr);
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
