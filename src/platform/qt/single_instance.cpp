#include "platform/qt/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace tkv {

namespace {

QString lock_path(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(name + QStringLiteral(".lock"));
}

} // namespace

SingleInstance::SingleInstance(const QString& name) : lock_(lock_path(name)) {
    // Only a lock whose process has gone counts as stale: a copy may run for days.
    lock_.setStaleLockTime(0);
    acquired_ = lock_.tryLock(0);
}

} // namespace tkv
