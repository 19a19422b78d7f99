#include "CsvPrinter.h"

#include "SafeText.h"

namespace vanmoor::listing {

void CsvPrinter::Begin(const std::string&, const std::vector<std::string>& columns) {
    WriteLine(columns);
}

void CsvPrinter::Row(const Record& record) {
    std::vector<std::string> cells;
    for (const Field& field : record) {
        if (const auto* text = std::get_if<std::string>(&field.value)) {
            cells.push_back(*text);
        } else if (const auto* number = std::get_if<long long>(&field.value)) {
            cells.push_back(std::to_string(*number));
        } else if (const auto* flag = std::get_if<bool>(&field.value)) {
            cells.push_back(*flag ? "true" : "false");
        } else {
            cells.emplace_back();
        }
    }
    WriteLine(cells);
}

void CsvPrinter::WriteLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += (i > 0 ? "," : "") + CsvCell(cells[i]);
    }
    m_Out << line << "\r\n";
}

} // namespace vanmoor::listing
