#pragma once

#include <QString>

#include "data/dm1.h"
#include "firebird/statement.h"

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

inline void exec(const QString& sql)
{
    fb::Statement st(dm_1->db_opl, dm_1->tr_opl, sql);
    st.execute();
    dm_1->tr_opl.commitRetaining();
}

} // namespace screentest
