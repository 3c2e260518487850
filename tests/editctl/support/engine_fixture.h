// Tests of the edit-control library against the real engine server. The server is registered
// once per process in a registry file of the process's own (never the user's), and every test
// starts and ends the library's connection itself.
#pragma once

#include <kestrum/editctl/dimsafe_edit.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QString>

#include <ostream>

// Readable failures: QString as its text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace editctl_test {

// Registers the built server for this process in a registry of its own (server_registration.h).
void registerEngine();

// The shipped database, read in place (the library never writes it).
inline QString shippedDatabase() { return QStringLiteral(KESTRUM_SOURCE_DIR "/data/Unit_Database.xml"); }

// A small database file in a temporary folder: quantity Span with units good (factor 1, symbol
// gd), double_good (factor 2, dg), blank (no factor) and broken (an expression of an unknown
// unit); unit systems English (good), Metric (double_good) and Bare (no preferred unit for Span).
QString smallDatabase();

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerEngine(); }
    void TearDown() override {
        CDimsafeEdit::Terminate();
        CDimsafeEdit::m_bUseCommas = true;
    }
    static void start(const QString& storage, const QString& current, const QString& database = shippedDatabase()) {
        CDimsafeEdit::Initialize(database, storage, current);
    }

    kestrum::test::MessageBoxRecorder boxes;
};

}  // namespace editctl_test
