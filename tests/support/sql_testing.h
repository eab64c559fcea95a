#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include "data/dm1.h"
#include "module_fixture.h"
#include "firebird/statement.h"
#include "test_database.h"

// Reading and writing the database behind the data module under test (dm_1) directly, so
// that a test checks what is stored rather than what a dataset shows.
namespace screentest {

// The number in the first column of the first row of a query.
inline int count(const QString& sql)
{
    fb::Statement st(dm_1->db_opl, dm_1->tr_opl, sql);
    st.execute();
    st.fetch();
    const int n = st.value(0).toInt();
    st.closeCursor();
    return n;
}

// Every row of a query, its columns in order; :p0, :p1, ... take `values`.
inline QList<QVariantList> rows(const QString& sql, const QVariantList& values = {}, Tdm_1& dm = *dm_1)
{
    QVariantMap params;
    for (int i = 0; i < values.size(); ++i)
        params.insert(QStringLiteral("p%1").arg(i), values[i]);
    return testsupport::queryRows(dm.db_opl, dm.tr_opl, sql, params);
}

inline void exec(const QString& sql)
{
    fb::Statement st(dm_1->db_opl, dm_1->tr_opl, sql);
    st.execute();
    dm_1->tr_opl.commitRetaining();
}

} // namespace screentest
