#include "JsonPrinter.h"

#include "SafeText.h"

namespace vanmoor::listing {

namespace {

std::string JsonValue(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return JsonString(*text);
    }
    if (const auto* number = std::get_if<long long>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "true" : "false";
    }
    return "null";
}

// The record as one JSON object on one line.
std::string JsonObject(const Record& record) {
    std::string object = "{";
    for (const Field& field : record) {
        if (object.size() > 1) {
            object += ", ";
        }
        object += JsonString(field.key) + ": " + JsonValue(field.value);
    }
    return object + "}";
}

} // namespace

void JsonPrinter::Begin(const std::string& listName, const std::vector<std::string>&) {
    m_FirstRow = true;
    if (!m_LinePerRecord) {
        m_Out << "{" << JsonString(listName) << ": [";
    }
}

void JsonPrinter::Row(const Record& record) {
    if (m_LinePerRecord) {
        m_Out << JsonObject(record) << '\n';
        m_Out.flush();
        return;
    }
    m_Out << (m_FirstRow ? "\n  " : ",\n  ") << JsonObject(record);
    m_FirstRow = false;
}

void JsonPrinter::End() {
    if (!m_LinePerRecord) {
        m_Out << (m_FirstRow ? "]}\n" : "\n]}\n");
    }
    m_Out.flush();
}

} // namespace vanmoor::listing
