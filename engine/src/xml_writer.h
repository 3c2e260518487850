// The database as the text of an XML file, built through the database's own queries.
#pragma once

#include <string>

namespace kestrum {

class Database;

std::string writeDatabaseXml(Database& db);

}  // namespace kestrum
