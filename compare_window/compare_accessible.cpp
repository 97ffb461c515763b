#include "compare_window/compare_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QVariant>
#include <vector>

#include "compare/sample_judgement.h"
#include "compare_window/compare_window.h"
#include "platform/accessible.h"
#include "platform/page_canvas.h"

namespace veltrix {

namespace {

constexpr const char* kExposed = "veltrixCompareExposed";

QString Figures(const MarkerRow& row) {
    return FormatC("%.2f", row.AttenuationDbc) + QStringLiteral(" dBc, ") +
           FormatC("%.2f", row.ReturnLossDb) + QStringLiteral(" RL dB, ") + FormatC("%.2f", row.DelayNs) +
           QStringLiteral(" ns");
}

class CompareAccessible;

// A part of the window that is no widget of its own: the legend, one of its rows, a block of text.
class PieceAccessible : public QAccessibleInterface {
  public:
    enum class Kind { Legend, LegendRow, Marker, Margins };

    PieceAccessible(CompareAccessible* owner, QAccessibleInterface* parent, Kind kind, int row)
        : owner_(owner), parent_(parent), kind_(kind), row_(row) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

  private:
    CompareAccessible* owner_;
    QAccessibleInterface* parent_;
    Kind kind_;
    int row_;
};

class CompareAccessible : public QAccessibleWidget {
  public:
    explicit CompareAccessible(CompareWindow* window) : QAccessibleWidget(window, QAccessible::Pane) {}
    ~CompareAccessible() override {
        for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    CompareWindow* Window() const { return static_cast<CompareWindow*>(widget()); }

    int childCount() const override { return 3; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= 3) return nullptr;
        static constexpr PieceAccessible::Kind kinds[] = {
            PieceAccessible::Kind::Legend, PieceAccessible::Kind::Marker, PieceAccessible::Kind::Margins};
        return Piece(const_cast<CompareAccessible*>(this), kinds[index], -1);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < 3; ++i)
            if (this->child(i) == child) return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < 3; ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && Window()->Parts().Curves().empty() &&
            !Window()->Parts().HasMeasured())
            return QStringLiteral(
                "No parts to compare: mark parts in Find Parts and choose Compare, or Add to Comparison on "
                "the specification screen.");
        return QAccessibleWidget::text(t);
    }

    // One interface per piece, kept for the window's life as Qt's own tables keep their cells.
    QAccessibleInterface* Piece(QAccessibleInterface* parent, PieceAccessible::Kind kind, int row) const {
        const auto key = std::make_pair(static_cast<int>(kind), row);
        for (std::size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i] == key) return QAccessible::accessibleInterface(ids_[i]);
        auto* piece = new PieceAccessible(const_cast<CompareAccessible*>(this), parent, kind, row);
        keys_.push_back(key);
        ids_.push_back(QAccessible::registerAccessibleInterface(piece));
        return piece;
    }

  private:
    mutable std::vector<std::pair<int, int>> keys_;
    mutable std::vector<QAccessible::Id> ids_;
};

bool PieceAccessible::isValid() const {
    if (!owner_->isValid()) return false;
    return kind_ != Kind::LegendRow || row_ < LegendTexts(*owner_->Window()).size();
}

int PieceAccessible::childCount() const {
    return kind_ == Kind::Legend ? static_cast<int>(LegendTexts(*owner_->Window()).size()) : 0;
}

QAccessibleInterface* PieceAccessible::child(int index) const {
    if (kind_ != Kind::Legend || index < 0 || index >= childCount()) return nullptr;
    return owner_->Piece(const_cast<PieceAccessible*>(this), Kind::LegendRow, index);
}

int PieceAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i)
        if (this->child(i) == child) return i;
    return -1;
}

QString PieceAccessible::text(QAccessible::Text t) const {
    const CompareWindow& window = *owner_->Window();
    switch (kind_) {
        case Kind::Legend:
            return t == QAccessible::Name ? QStringLiteral("Parts") : QString();
        case Kind::LegendRow:
            return t == QAccessible::Name ? LegendTexts(window).value(row_) : QString();
        case Kind::Marker:
            if (t == QAccessible::Name) return MarkerHeading(window);
            return t == QAccessible::Description ? MarkerLines(window).join(QLatin1Char('\n')) : QString();
        case Kind::Margins:
            if (t == QAccessible::Name) return QStringLiteral("Margins at the required points");
            return t == QAccessible::Description ? MarginLines(window).join(QLatin1Char('\n')) : QString();
    }
    return QString();
}

QRect PieceAccessible::rect() const {
    const CompareWindow& window = *owner_->Window();
    const CompareLayout layout = window.CurrentLayout();
    QRect local = layout.Table;
    if (kind_ == Kind::Legend) local = layout.Legend;
    if (kind_ == Kind::LegendRow)
        local = QRect(layout.Legend.left(), layout.Legend.top() + layout.LegendRowHeight * (row_ + 1),
                      layout.Legend.width(), layout.LegendRowHeight);
    return QRect(window.mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role PieceAccessible::role() const {
    switch (kind_) {
        case Kind::Legend:
            return QAccessible::List;
        case Kind::LegendRow:
            return QAccessible::ListItem;
        default:
            return QAccessible::StaticText;
    }
}

QAccessible::State PieceAccessible::state() const {
    QAccessible::State s;
    s.readOnly = true;
    if (kind_ == Kind::LegendRow) {
        s.selectable = true;
        s.selected = owner_->Window()->SelectedPart() == row_;
    }
    if (!owner_->Window()->isVisible()) s.invisible = true;
    return s;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (object == nullptr || !object->property(kExposed).toBool()) return nullptr;
    auto* window = qobject_cast<CompareWindow*>(object);
    return window != nullptr ? new CompareAccessible(window) : nullptr;
}

}  // namespace

QStringList LegendTexts(const CompareWindow& window) {
    QStringList texts;
    for (const CompareCurve& curve : window.Parts().Curves()) texts << QString::fromStdString(curve.Name);
    if (window.Parts().HasMeasured())
        texts << QStringLiteral("Measured: %1")
                     .arg(QString::fromStdString(window.Parts().MeasuredCurve().Name));
    return texts;
}

QString MarkerHeading(const CompareWindow& window) {
    if (window.Parts().Curves().empty() && !window.Parts().HasMeasured()) return QString();
    return QStringLiteral("Marker %1 MHz").arg(FormatC("%.2f", window.Parts().MarkerMhz()));
}

QStringList MarkerLines(const CompareWindow& window) {
    QStringList lines;
    const Comparison& parts = window.Parts();
    for (const MarkerRow& row : parts.MarkerRows())
        lines << QString::fromStdString(row.Name) + QStringLiteral(": ") + Figures(row);
    if (parts.HasMeasured()) lines << QStringLiteral("Measured: ") + Figures(parts.MeasuredAtMarker());
    return lines;
}

QStringList MarginLines(const CompareWindow& window) {
    QStringList lines;
    const Comparison& parts = window.Parts();
    const std::vector<MarkerRow> rows = parts.MarkerRows();
    for (std::size_t k = 0; k < parts.Limits().size(); ++k) {
        const StopbandRequirement& limit = parts.Limits()[k];
        lines << QStringLiteral("At %1 MHz, %2 dBc required")
                     .arg(FormatC("%.2f", limit.FrequencyMhz), FormatC("%.1f", limit.MinAttenuationDbc));
        for (const MarkerRow& row : rows) {
            if (k >= row.Margins.size()) continue;
            const StopbandResult& margin = row.Margins[k];
            lines << QString::fromStdString(row.Name) + QStringLiteral(": ") +
                         FormatC("%.1f dBc", margin.WorstCaseDbc) + QStringLiteral(", ") +
                         FormatC("%+.1f dB", margin.MarginDb);
        }
    }
    // The measured sample's own figures and the verdict line, as the table lists them.
    if (parts.HasMeasured() && (parts.Judgement().Judged || !parts.Judgement().NotJudged.empty()))
        for (const std::string& line : SampleJudgementLines(parts.Judgement()))
            lines << QString::fromStdString(line);
    return lines;
}

void ExposeToScreenReaders(CompareWindow* window) {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
    window->setProperty(kExposed, true);
    RenewAccessibleInterface(window);
}

void AnnounceChange(CompareWindow* window) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent changed(window, QAccessible::VisibleDataChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; pane != nullptr && i < pane->childCount(); ++i) {
        QAccessibleEvent name(pane->child(i), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        QAccessibleEvent description(pane->child(i), QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    }
}

}  // namespace veltrix
