#include "platform/fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>
#include <cmath>
#include <utility>

namespace veltrix {

namespace {

const QStringList& SansStandIns() {
    static const QStringList faces{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    return faces;
}

const QStringList& MonoStandIns() {
    static const QStringList faces{QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
    return faces;
}

// The stand-ins of a classic face, or null for any other name.
const QStringList* StandInsOf(const QString& face) {
    static const QHash<QString, const QStringList*> classic{
        {QStringLiteral("MS Sans Serif"), &SansStandIns()},
        {QStringLiteral("Arial"), &SansStandIns()},
        {QStringLiteral("Small Fonts"), &SansStandIns()},
        {QStringLiteral("Terminal"), &MonoStandIns()},
        {QStringLiteral("Courier New"), &MonoStandIns()}};
    return classic.value(face, nullptr);
}

}  // namespace

void RegisterFontSubstitutions() {
    // Text that names a classic face without going through PixelFont (style sheets, rich text) still
    // finds its stand-in.
    for (const char* face : {"MS Sans Serif", "Arial", "Small Fonts"})
        QFont::insertSubstitutions(face, SansStandIns());
    for (const char* face : {"Terminal", "Courier New"}) QFont::insertSubstitutions(face, MonoStandIns());
}

QString ConcreteFamily(const QString& face) {
    static QHash<QString, QString> resolved;
    if (const auto found = resolved.constFind(face); found != resolved.cend()) return *found;
    QString family = face;
    if (const QStringList* standIns = StandInsOf(face)) {
        const bool mono = standIns == &MonoStandIns();
        // Neither stand-in installed: the desktop's own general or fixed font, never a search.
        family =
            QFontDatabase::systemFont(mono ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont).family();
        // The stand-ins are installed families' own names, never aliases, so the list of families
        // answers: hasFamily would first run each name through the font configuration's substitutions.
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate : *standIns) {
            if (installed.contains(candidate, Qt::CaseInsensitive)) {
                family = candidate;
                break;
            }
        }
    }
    resolved.insert(face, family);
    return family;
}

int PointsToPixels(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont PixelFont(const QString& face, int pixels) {
    static QHash<std::pair<QString, int>, QFont> built;
    const int size = pixels > 0 ? pixels : 1;
    const std::pair<QString, int> key(face, size);
    if (const auto found = built.constFind(key); found != built.cend()) return *found;
    QFont font(ConcreteFamily(face));
    font.setPixelSize(size);
    font.setStyleStrategy(QFont::PreferAntialias);
    built.insert(key, font);
    return font;
}

QFont PointFont(const QString& face, int points) { return PixelFont(face, PointsToPixels(points)); }

}  // namespace veltrix
