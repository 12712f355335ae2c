#include "ReferenceNumber.h"

#include <charconv>
#include <regex>
#include <string>
#include <system_error>

namespace
{
ReferenceValue Convert(std::string strNumber)
{
    for (char& c : strNumber)
        if (c == 'd' || c == 'D')
            c = 'e';
    bool bNegative = false;
    size_t nStart = 0;
    // from_chars takes no "+" and keeps the "-" itself; handle both so the sign of zero survives.
    if (!strNumber.empty() && (strNumber[0] == '+' || strNumber[0] == '-')) {
        bNegative = strNumber[0] == '-';
        nStart = 1;
    }
    ReferenceValue value;
    const auto result =
        std::from_chars(strNumber.data() + nStart, strNumber.data() + strNumber.size(), value.m_dValue);
    value.m_bOutOfRange = result.ec == std::errc::result_out_of_range;
    if (bNegative)
        value.m_dValue = -value.m_dValue;
    return value;
}
} // namespace

std::optional<ReferenceValue> ReferenceLeadingDouble(std::string_view strText)
{
    static const std::regex s_leading(R"(^[ \t\n\v\f\r]*([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?))");
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_search(strText.begin(), strText.end(), match, s_leading, std::regex_constants::match_continuous))
        return std::nullopt;
    return Convert(match[1].str());
}

std::optional<ReferenceValue> ReferenceBoxNumber(std::string_view strText, char& cFirst)
{
    static const std::regex s_box(R"(^[ \t]*([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eEdD][+-]?[0-9]+)?)[ \t]*$)");
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_match(strText.begin(), strText.end(), match, s_box))
        return std::nullopt;
    cFirst = *match[1].first;
    return Convert(match[1].str());
}
