#include "engine_fixture.h"

#include <server_registration.h>
#include <test_databases.h>

#include <QFile>
#include <QTemporaryDir>

namespace editctl_test {
namespace {

// Lives until the process ends, so the small database outlasts every test.
QTemporaryDir& scratch() {
    static QTemporaryDir* const dir = new QTemporaryDir;
    return *dir;
}

}  // namespace

void registerEngine() {
    ASSERT_EQ(kestrum::test::registerServerForProcess(KESTRUM_REGSVR, KESTRUM_SERVER), "");
}

QString smallDatabase() {
    const QString path = scratch().filePath(QStringLiteral("small.xml"));
    if (!QFile::exists(path)) kestrum::test::writeTestDatabase("editctl_small.xml", path.toStdString());
    return path;
}

}  // namespace editctl_test
