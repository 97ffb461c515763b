#pragma once

#include <QString>
#include <QStringList>

namespace veltrix {

class CompareWindow;

// What the window shows, as a screen reader reads it; the texts are the painted ones.
// The legend's rows: each part, then the measured file.
QStringList LegendTexts(const CompareWindow& window);
// "Marker <f> MHz", then a line per part (and the measured file) with its figures there.
QString MarkerHeading(const CompareWindow& window);
QStringList MarkerLines(const CompareWindow& window);
// Each required point, then each part's worst-case attenuation and margin there: the verdict.
QStringList MarginLines(const CompareWindow& window);

// The window meets a screen reader as a pane holding the legend (a list whose items are the parts,
// the chosen one selected), the marker with its table, and the margins at the required points.
void ExposeToScreenReaders(CompareWindow* window);
// Tells a listening screen reader that the texts changed.
void AnnounceChange(CompareWindow* window);

}  // namespace veltrix
