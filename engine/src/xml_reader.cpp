// Loading a database file: expat parses it in blocks, and every element and attribute becomes
// a call of the database's own edit operations, exactly as a client would make it. Refusals
// of those operations are not errors of the read: the refused item is simply left out.
#include "xml_reader.h"

#include "tables.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <type_traits>

namespace kestrum {

namespace {

constexpr const char* kDimensionNames[kBaseDimensions] = {"KG", "M", "S", "A", "K", "MOL", "CD", "RAD", "SR", "DOLLAR"};

struct ReaderState {
    ReaderState(Tables& target, XML_Parser owner) : db(target), parser(owner) {}
    Tables& db;
    XML_Parser parser;
    std::exception_ptr failure;  // thrown by an edit, held until expat has returned
    std::string currentUnit;
    std::string currentQuantity;
    std::string currentUnitSystem;
    std::string synonym;
    bool insideSynonym = false;
    bool insideQuantities = false;
    bool insideUnits = false;
};

bool is(const XML_Char* a, const char* b) { return std::strcmp(a, b) == 0; }

void XMLCALL characterData(void* userData, const XML_Char* text, int length);

// An exponent as the interface carries it (16 bits), or false: a larger one is refused as the
// edits refuse it, never narrowed into a different exponent.
bool readExponent(const char* text, std::int32_t& exponent) {
    const double v = std::trunc(readLeadingNumber(text));
    if (!(v >= INT16_MIN && v <= INT16_MAX)) return false;
    exponent = static_cast<std::int32_t>(v);
    return true;
}

void quantityAttributes(ReaderState& s, const XML_Char** atts) {
    bool vectorFixed = false;
    for (; atts[0]; atts += 2) {
        const char* name = atts[0];
        const char* value = atts[1];
        if (is(name, "NAME")) {
            s.db.Quantity_Add(value);
            s.currentQuantity.assign(value);
            vectorFixed = false;
            for (char& c : s.currentQuantity) c = foldAscii(c);
        } else if (is(name, "EXPRESSION")) {
            s.db.Quantity_Expression_Replace(s.currentQuantity, value);
        } else {
            for (int i = 0; i < kBaseDimensions; ++i) {
                if (!is(name, kDimensionNames[i])) continue;
                // One exponent given fixes the vector: the ones not given are 0.
                std::int32_t exponent = 0;
                if (!readExponent(value, exponent)) break;  // refused: left out, like any refused edit
                if (s.db.setQuantityExponent(s.currentQuantity, i, exponent, !vectorFixed)) vectorFixed = true;
                break;
            }
        }
    }
}

void unitAttributes(ReaderState& s, const XML_Char** atts) {
    for (; atts[0]; atts += 2) {
        const char* name = atts[0];
        const char* value = atts[1];
        if (is(name, "NAME")) {
            s.currentUnit = value;
        } else if (is(name, "QUANTITY")) {
            s.db.Unit_Add(s.currentUnit, value);
        } else if (is(name, "CONVERSION_FACTOR")) {
            s.db.Unit_ConversionFactor_Replace(s.currentUnit, readLeadingNumber(value));
        } else if (is(name, "CONVERSION_OFFSET")) {
            s.db.Unit_ConversionOffset_Replace(s.currentUnit, readLeadingNumber(value));
        } else if (is(name, "EXPRESSION")) {
            s.db.Unit_Expression_Replace(s.currentUnit, value);
        } else if (is(name, "SYMBOL")) {
            s.db.Unit_Symbol_Replace(s.currentUnit, value);
        }
    }
}

void onStartElement(ReaderState& s, const XML_Char* element, const XML_Char** atts) {
    if (is(element, "QUANTITY")) {
        quantityAttributes(s, atts);
    } else if (is(element, "UNIT")) {
        unitAttributes(s, atts);
    } else if (is(element, "UNIT_SYSTEM")) {
        for (; atts[0]; atts += 2) {
            if (!is(atts[0], "NAME")) continue;
            s.db.UnitSystem_Add(atts[1]);
            s.currentUnitSystem = atts[1];
        }
    } else if (is(element, "UNIT_SYSTEM_QTY")) {
        for (; atts[0]; atts += 2) {
            if (is(atts[0], "NAME")) {
                s.currentQuantity = atts[1];
            } else if (is(atts[0], "PREFERRED_UNIT")) {
                s.db.UnitSystem_PrefUnit_Replace(s.currentUnitSystem, s.currentQuantity, atts[1]);
            }
        }
    } else if (is(element, "SYNONYM")) {
        s.insideSynonym = true;
        s.synonym.clear();
        XML_SetCharacterDataHandler(s.parser, characterData);
    } else if (is(element, "QUANTITIES")) {
        s.insideQuantities = true;
    } else if (is(element, "UNITS")) {
        s.insideUnits = true;
    }
}

void onEndElement(ReaderState& s, const XML_Char* element) {
    if (is(element, "SYNONYM")) {
        // The parser may have delivered the text in pieces (block ends, references): the
        // synonym is handled once, whole.
        s.insideSynonym = false;
        XML_SetCharacterDataHandler(s.parser, nullptr);
        if (s.insideUnits && s.db.hasUnitKey(NameKey(s.currentUnit).view())) {
            s.db.Unit_Synonym_Add(s.currentUnit, s.synonym);
        } else if (s.insideQuantities && s.db.hasQuantityKey(NameKey(s.currentQuantity).view())) {
            s.db.Quantity_Synonym_Add(s.currentQuantity, s.synonym);
        }
    } else if (is(element, "QUANTITIES")) {
        s.insideQuantities = false;
    } else if (is(element, "UNITS")) {
        s.insideUnits = false;
    }
}

void onCharacterData(ReaderState& s, const XML_Char* text, int length) {
    if (s.insideSynonym) s.synonym.append(text, static_cast<std::size_t>(length));
}

// The handlers run inside expat, which is C: no exception may unwind through it, or the parser
// is never freed and expat is left in an unknown state. An exception from an edit (running out
// of memory) stops the parser instead, and is thrown again once expat has returned.
template <class Handler>
void guarded(void* userData, Handler&& handler) {
    auto& s = *static_cast<ReaderState*>(userData);
    if (s.failure) return;
    try {
        handler(s);
    } catch (...) {
        s.failure = std::current_exception();
        XML_StopParser(s.parser, XML_FALSE);
    }
}

void XMLCALL startElement(void* userData, const XML_Char* element, const XML_Char** atts) {
    guarded(userData, [&](ReaderState& s) { onStartElement(s, element, atts); });
}

void XMLCALL endElement(void* userData, const XML_Char* element) {
    guarded(userData, [&](ReaderState& s) { onEndElement(s, element); });
}

void XMLCALL characterData(void* userData, const XML_Char* text, int length) {
    guarded(userData, [&](ReaderState& s) { onCharacterData(s, text, length); });
}

// Windows-1252, for files written by older programs in that code page. The five bytes it
// leaves unassigned read as the C1 controls of the same value.
constexpr int kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isWindows1252Name(const XML_Char* name) {
    std::string folded = foldCase(name);
    return folded == "windows-1252" || folded == "cp1252" || folded == "x-cp1252";
}

int XMLCALL unknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    if (!isWindows1252Name(name)) return XML_STATUS_ERROR;
    for (int i = 0; i < 256; ++i) info->map[i] = (i >= 0x80 && i < 0xA0) ? kWindows1252High[i - 0x80] : i;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

// A file that says nothing of its encoding and is not UTF-8 comes from the old 8-bit world.
bool needsWindows1252(std::string_view content) {
    if (content.starts_with("\xEF\xBB\xBF") || content.starts_with("\xFE\xFF") || content.starts_with("\xFF\xFE"))
        return false;
    if (content.starts_with("<?xml")) {
        const std::string_view declaration = content.substr(0, content.find("?>"));
        if (declaration.find("encoding") != std::string_view::npos) return false;
    }
    return !isValidUtf8(content);
}

}  // namespace

Result readDatabaseXml(Tables& db, std::string_view content, std::size_t blockSize) {
    if (blockSize == 0) blockSize = 512;
    const std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(needsWindows1252(content) ? "windows-1252" : nullptr), &XML_ParserFree);
    if (!parser) return E_OUTOFMEMORY;
    db.reserveNames(content.size() / 64);  // a name or synonym every hundred bytes or so
    ReaderState state(db, parser.get());
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), startElement, endElement);
    // Text matters only inside SYNONYM; the handler is set there, so the whitespace between
    // elements costs no calls.
    XML_SetUnknownEncodingHandler(parser.get(), unknownEncoding, nullptr);

    // Blocks as a file is read: the block that comes up short is the final one, so content of
    // a multiple of the block size ends with an empty final block.
    Result rc = S_OK;
    std::size_t offset = 0;
    while (true) {
        const std::size_t length = std::min(blockSize, content.size() - offset);
        const bool final = length < blockSize;
        if (XML_Parse(parser.get(), content.data() + offset, static_cast<int>(length), final) != XML_STATUS_OK) {
            rc = E_UDB_CORRUPT;
            break;
        }
        offset += length;
        if (final) break;
    }
    if (state.failure) std::rethrow_exception(state.failure);
    return rc;
}

}  // namespace kestrum
