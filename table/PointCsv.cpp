#include "PointCsv.h"

#include "PointCsvError.h"

const char* const PointCsvHeader = "Number,Value From PIC,Value On Display";

namespace
{
constexpr size_t FieldsPerRow = 3;

struct CsvRecord
{
    int m_nLine = 0;
    std::vector<std::string> m_fields;
};

// Splits the text into records; each remembers the line it starts on. Quoted fields may span lines.
class CsvScanner
{
  public:
    explicit CsvScanner(std::string_view strText)
        : m_strText(strText)
    {
        if (m_strText.substr(0, 3) == "\xEF\xBB\xBF")
            m_nPos = 3;
    }

    // The next record that is not a blank line; false at the end of the text.
    bool Next(CsvRecord& record)
    {
        while (m_nPos < m_strText.size() && AtLineEnd())
            SkipLineEnd();
        if (m_nPos >= m_strText.size())
            return false;
        record.m_nLine = m_nLine;
        record.m_fields.clear();
        for (;;)
        {
            record.m_fields.push_back(ReadField());
            if (m_nPos < m_strText.size() && m_strText[m_nPos] == ',')
            {
                ++m_nPos;
                continue;
            }
            if (m_nPos < m_strText.size())
                SkipLineEnd();
            return true;
        }
    }

  private:
    bool AtLineEnd() const
    {
        return m_strText[m_nPos] == '\n' ||
               (m_strText[m_nPos] == '\r' && m_nPos + 1 < m_strText.size() && m_strText[m_nPos + 1] == '\n');
    }

    void SkipLineEnd()
    {
        m_nPos += m_strText[m_nPos] == '\r' ? 2 : 1;
        ++m_nLine;
    }

    // One field; leaves m_nPos on the comma or line end after it, or at the end of the text.
    std::string ReadField()
    {
        std::string strField;
        if (m_nPos < m_strText.size() && m_strText[m_nPos] == '"')
        {
            const int nQuoteLine = m_nLine;
            ++m_nPos;
            for (;;)
            {
                if (m_nPos >= m_strText.size())
                    throw PointCsvError(nQuoteLine, "a quoted field is not closed. Add the closing quote.");
                const char c = m_strText[m_nPos++];
                if (c == '"')
                {
                    if (m_nPos < m_strText.size() && m_strText[m_nPos] == '"')
                    {
                        strField.push_back('"');
                        ++m_nPos;
                        continue;
                    }
                    break;
                }
                if (c == '\n')
                    ++m_nLine;
                strField.push_back(c);
            }
            if (m_nPos < m_strText.size() && m_strText[m_nPos] != ',' && !AtLineEnd())
                throw PointCsvError(m_nLine, "text follows a closing quote. Quote the whole field and double "
                                             "the quotes inside it.");
            return strField;
        }
        while (m_nPos < m_strText.size() && m_strText[m_nPos] != ',' && !AtLineEnd())
        {
            if (m_strText[m_nPos] == '"')
                throw PointCsvError(m_nLine, "a quote inside a field that does not start with one. Quote the "
                                             "whole field and double the quotes inside it.");
            strField.push_back(m_strText[m_nPos++]);
        }
        return strField;
    }

    std::string_view m_strText;
    size_t m_nPos = 0;
    int m_nLine = 1;
};

bool NeedsQuotes(const std::string& strField)
{
    return strField.find_first_of(",\"\r\n") != std::string::npos;
}

void AppendField(std::string& strOut, const std::string& strField)
{
    if (!NeedsQuotes(strField))
    {
        strOut += strField;
        return;
    }
    strOut.push_back('"');
    for (const char c : strField)
    {
        if (c == '"')
            strOut.push_back('"');
        strOut.push_back(c);
    }
    strOut.push_back('"');
}
}

std::vector<PointRow> ReadPointCsv(std::string_view strText)
{
    CsvScanner scanner(strText);
    CsvRecord record;
    const std::string strHeaderHint = std::string("the first row must be the header ") + PointCsvHeader + ".";
    if (!scanner.Next(record))
        throw PointCsvError(1, "the file holds no header; " + strHeaderHint);
    if (record.m_fields != std::vector<std::string>{"Number", "Value From PIC", "Value On Display"})
        throw PointCsvError(record.m_nLine, "this is not the header; " + strHeaderHint);

    std::vector<PointRow> rows;
    while (scanner.Next(record))
    {
        if (record.m_fields.size() != FieldsPerRow)
            throw PointCsvError(record.m_nLine, "expected 3 fields (Number, Value From PIC, Value On Display), found " +
                                                    std::to_string(record.m_fields.size()) + ".");
        rows.push_back(PointRow{record.m_fields[1], record.m_fields[2]});
    }
    return rows;
}

std::string WritePointCsv(std::span<const PointRow> rows)
{
    std::string strOut = std::string(PointCsvHeader) + "\r\n";
    for (size_t i = 0; i < rows.size(); ++i)
    {
        strOut += std::to_string(i);
        strOut.push_back(',');
        AppendField(strOut, rows[i].m_strReading);
        strOut.push_back(',');
        AppendField(strOut, rows[i].m_strValue);
        strOut += "\r\n";
    }
    return strOut;
}
