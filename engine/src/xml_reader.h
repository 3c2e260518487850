// Loading the text of a database file into a database.
#pragma once

#include <kestrum/result.h>

#include <cstddef>
#include <string_view>

namespace kestrum {

class Tables;

// S_OK, or E_UDB_CORRUPT when the parser reports an error (db then holds what was read so far,
// which is why the engine reads into a copy). blockSize is how much the parser gets at a time.
// An exception from an edit (std::bad_alloc) is thrown on once the parser has been freed.
Result readDatabaseXml(Tables& db, std::string_view content, std::size_t blockSize);

}  // namespace kestrum
