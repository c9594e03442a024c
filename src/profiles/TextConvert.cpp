#include "profiles/TextConvert.h"

#include <QString>

std::wstring Utf8ToWide(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdWString();
}

std::string WideToUtf8(std::wstring_view wide)
{
    return QString::fromWCharArray(wide.data(), static_cast<qsizetype>(wide.size())).toStdString();
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    const QString qa = QString::fromWCharArray(a.data(), static_cast<qsizetype>(a.size()));
    const QString qb = QString::fromWCharArray(b.data(), static_cast<qsizetype>(b.size()));
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

bool IsBlank(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size())).trimmed().isEmpty();
}
