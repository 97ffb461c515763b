#pragma once

#include <string>
#include <vector>

#include "platform/page_canvas.h"
#include "product_texts/contact_data.h"
#include "program/display_settings.h"

namespace veltrix {

// The rules' message lines, one under another from y = 106; empty lines keep their place.
void PaintMessageColumn(PageCanvas& canvas, const std::vector<std::string>& lines,
                        const DisplaySettings& display);
// The part number of a valid selection, or the notice that there is none.
void PaintPartNumber(PageCanvas& canvas, bool valid, const std::string& partNumber,
                     const DisplaySettings& display);
// The fixed frames and labels of the input area.
void PaintInputFrames(PageCanvas& canvas, const DisplaySettings& display);
// Shown in place of the graph when there is no standard part; placed below the message lines.
void PaintContactNotice(PageCanvas& canvas, int messageLineCount, const DisplaySettings& display);
// "" paints nothing.
void PaintGuaranteeNotice(PageCanvas& canvas, const std::string& notice, const DisplaySettings& display);

}  // namespace veltrix
