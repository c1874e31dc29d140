// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/recordprinter.h"

#include "app/cli/tabfields.h"
#include "app/output/machine/isotime.h"
#include "app/output/machine/machinefields.h"

#include <ostream>

namespace mrb::cli
{

RecordPrinter::RecordPrinter(std::ostream &out, CatalogPrint format, std::vector<std::string_view> fields)
    : m_out(out)
    , m_format(format)
    , m_fields(std::move(fields))
{
    if (m_format != CatalogPrint::Csv)
        return;
    for (std::size_t f = 0; f < m_fields.size(); ++f)
        m_out << (f ? "," : "") << m_fields[f];
    m_out << "\r\n";
}

void RecordPrinter::print(const std::vector<PrintValue> &values)
{
    std::string &line = m_line;
    line.clear();
    if (m_format == CatalogPrint::Jsonl)
        line += '{';
    for (std::size_t f = 0; f < m_fields.size() && f < values.size(); ++f) {
        const PrintValue &value = values[f];
        if (f > 0)
            line += m_format == CatalogPrint::Text ? '\t' : ',';
        if (m_format == CatalogPrint::Jsonl && value.kind != PrintValue::Kind::Text) {
            line += '"';
            line += m_fields[f];
            line += "\":";
        }
        switch (value.kind) {
        case PrintValue::Kind::Unknown:
            if (m_format == CatalogPrint::Jsonl)
                line += "null";
            break;
        case PrintValue::Kind::Text:
            if (m_format == CatalogPrint::Jsonl)
                core::appendJsonTextMember(line, m_fields[f], value.text);
            else if (m_format == CatalogPrint::Csv)
                core::appendCsvText(line, value.text);
            else
                appendTabField(line, value.text);
            break;
        case PrintValue::Kind::Number:
            line += std::to_string(value.number);
            break;
        case PrintValue::Kind::Time:
            if (m_format == CatalogPrint::Jsonl)
                line += '"';
            core::appendIsoDateTime(line, value.number);
            if (m_format == CatalogPrint::Jsonl)
                line += '"';
            break;
        }
    }
    if (m_format == CatalogPrint::Jsonl)
        line += '}';
    line += m_format == CatalogPrint::Csv ? "\r\n" : "\n";
    m_out << line;
}

} // namespace mrb::cli
