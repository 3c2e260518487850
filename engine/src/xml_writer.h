// The database as the text of an XML file, built through the queries of the tables and of the
// Evaluator (which completes the values that expressions define).
#pragma once

#include <string>

namespace kestrum {

class Evaluator;
class Tables;

std::string writeDatabaseXml(const Tables& db, Evaluator& evaluator);

}  // namespace kestrum
