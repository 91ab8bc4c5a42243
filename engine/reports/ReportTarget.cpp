#include "reports/ReportTarget.h"

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

struct TExtensionRule {
    std::string_view Extension;
    TReportFormat Format;
    std::string_view WrittenAs; // empty: as typed
};

constexpr TExtensionRule kRules[] = {
    {".xls", TReportFormat::Xls, "xls"},  {".csv", TReportFormat::Csv, ""},
    {".txt", TReportFormat::Text, "txt"}, {".htm", TReportFormat::Html, ""},
    {".html", TReportFormat::Html, ""},   {".xml", TReportFormat::Xml, ""},
};

} // namespace

std::optional<TReportTarget> ChooseReportTarget(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    const std::string_view extension = fileName.substr(dot);
    for (const TExtensionRule& rule : kRules) {
        if (!SameTextNoCase(extension, rule.Extension))
            continue;
        std::string name(fileName.substr(0, dot + 1));
        name += rule.WrittenAs.empty() ? extension.substr(1) : rule.WrittenAs;
        return TReportTarget{rule.Format, std::move(name)};
    }
    return std::nullopt;
}

} // namespace quorvane
