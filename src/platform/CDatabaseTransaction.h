#pragma once

#include "MainDataAccess_export.h"

#include "CDatabaseMultiInstance.h"

namespace OrvelFramework
{

/// A transaction held for the length of a scope, e.g. around one scan of a measurement run,
/// so that its rows reach the disk together instead of one synchronous write per row.
/// Begins in the constructor; rolls back in the destructor unless Commit() was called.
/// A scope opened inside another one is a savepoint: only the outermost makes the changes
/// durable. Every table call also works without any scope.
class MDA_EXPORT CDatabaseTransaction
{
public:
    /// Begins the transaction (or a savepoint inside an open one) on db, which must outlive the
    /// scope; IsActive() tells whether it began.
    explicit CDatabaseTransaction(CDatabaseMultiInstance& db);
    ~CDatabaseTransaction();

    CDatabaseTransaction(const CDatabaseTransaction&) = delete;
    CDatabaseTransaction& operator=(const CDatabaseTransaction&) = delete;

    /// False when the scope is not active or the changes could not be kept (they are then
    /// rolled back; the connection's LastError() says why). On PostgreSQL one failed
    /// statement inside the scope spoils all of it, so Commit() rolls back and says so; on
    /// SQLite the statements that succeeded are kept.
    bool Commit();
    /// True from a successful begin until Commit() or the end of the scope.
    bool IsActive() const;

private:
    CDatabaseMultiInstance& m_Db;
    int m_iDepth = 0;
    bool m_bActive = false;
};

} // namespace OrvelFramework
