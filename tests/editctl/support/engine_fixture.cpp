#include "engine_fixture.h"

#include <comrt/comrt.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

#include <dlfcn.h>

namespace editctl_test {
namespace {

// Lives until the process ends, so the registry file and the small database outlast every test.
QTemporaryDir& scratch() {
    static QTemporaryDir* const dir = new QTemporaryDir;
    return *dir;
}

}  // namespace

void registerEngine() {
    static const bool registered = [] {
        const QString registry = scratch().filePath(QStringLiteral("classes.reg"));
        ::setenv("KESTRUM_REGISTRY", registry.toLocal8Bit().constData(), 1);
        void* server = ::dlopen(KESTRUM_SERVER, RTLD_NOW);
        if (!server) return false;
        auto* registerServer = reinterpret_cast<HRESULT (*)()>(::dlsym(server, "DllRegisterServer"));
        return registerServer && registerServer() == S_OK;
    }();
    ASSERT_TRUE(registered) << "could not register " KESTRUM_SERVER;
}

QString smallDatabase() {
    const QString path = scratch().filePath(QStringLiteral("small.xml"));
    if (QFile::exists(path)) return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path;
    file.write(R"(<?xml version="1.0" standalone="yes"?>
<UNITS_DATABASE>
	<QUANTITIES>
		<QUANTITY NAME = "Span" M = "1"/>
	</QUANTITIES>
	<UNITS>
		<UNIT NAME = "good" QUANTITY = "Span" CONVERSION_FACTOR = "1." SYMBOL = "gd"/>
		<UNIT NAME = "double_good" QUANTITY = "Span" CONVERSION_FACTOR = "2." SYMBOL = "dg"/>
		<UNIT NAME = "blank" QUANTITY = "Span"/>
		<UNIT NAME = "broken" QUANTITY = "Span" EXPRESSION = "nosuchunit"/>
	</UNITS>
	<UNIT_SYSTEMS>
		<UNIT_SYSTEM NAME = "English">
			<UNIT_SYSTEM_QTY NAME = "Span" PREFERRED_UNIT = "good"/>
		</UNIT_SYSTEM>
		<UNIT_SYSTEM NAME = "Metric">
			<UNIT_SYSTEM_QTY NAME = "Span" PREFERRED_UNIT = "double_good"/>
		</UNIT_SYSTEM>
		<UNIT_SYSTEM NAME = "Bare">
		</UNIT_SYSTEM>
	</UNIT_SYSTEMS>
</UNITS_DATABASE>
)");
    return path;
}

}  // namespace editctl_test
