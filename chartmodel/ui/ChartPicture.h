// The chart as a picture: copied to the clipboard as an image and an SVG, exported as SVG or PNG,
// printed and previewed, each with the 15-pixel footer below the chart.
#pragma once

#include "chartmodel/ChartCopy.h"

#include <functional>
#include <string>

class QByteArray;
class QImage;
class QPainter;

namespace qv {

class CViewGraphWnd;

// Fills the footer strip white and writes the product name at the area's right end and the web
// address at its left end when there is room.
void DrawCopyFooter(QPainter& painter, int width, int height, int areaLeft, int areaRight);

// The chart in width x (height - 15), the legend box when the legend shows this view, and the footer.
QImage ChartPictureImage(CViewGraphWnd& view, int width, int height, bool legend);
QByteArray ChartPictureSvg(CViewGraphWnd& view, int width, int height, bool legend);

// Puts the image and the SVG on the clipboard, the option choosing which comes first; nothing while
// the graph is being redrawn. False when the clipboard did not take them (after the message).
bool CopyGraphToClipboard(CViewGraphWnd& view);

// Writes the chart at the window's size as SVG or PNG; false (after the message) when it could not.
bool ExportGraph(CViewGraphWnd& view, const std::string& path, ExportForm form);
// Asks for the file ("Export the current graph") and exports; the chooser returns an empty name on
// cancel and sets the chosen filter's form. Tests replace the chooser; an empty one puts the dialog back.
using ExportFileChooser = std::function<std::string(const std::string& defaultName, ExportForm& filter)>;
void SetExportFileChooser(ExportFileChooser chooser);
void ExportGraphMetafile(CViewGraphWnd& view);

// The print dialog and the print preview of the chart.
void PrintGraph(CViewGraphWnd& view);
void PrintPreviewGraph(CViewGraphWnd& view);

} // namespace qv
