#pragma once
// The load sheet on paper and in PDF: one layout for both, drawn from the core's load sheet
// model. Every page repeats the sheet's header (manifest, route, printed, person, page n of N,
// and in red the unsaved changes the sheet leaves out) and the column captions; a center that
// goes on over a page break is headed again.

#include <QPageSize>
#include <QString>
#include <string>

#include "tools/LoadSheet.h"

class QPagedPaintDevice;

namespace tarvine::qt {

// Draws the sheet onto a PDF writer or a printer that has its page size set; returns the
// number of pages drawn, or 0 when the device cannot be painted on. Memory does not grow with
// the pages drawn beyond what the device keeps.
int paintLoadSheet(const tools::LoadSheet& sheet, QPagedPaintDevice& device);

// Writes the sheet as a PDF file on the paper size given. Returns an empty text, or why the
// file could not be written.
std::string writeLoadSheetPdf(const tools::LoadSheet& sheet, const QString& path,
                              QPageSize::PageSizeId paper);

// The paper of the system's locale: US Letter where the US measurement system is used, A4
// elsewhere.
QPageSize::PageSizeId defaultPaper();

// "a4" or "letter" (any letter case) as a paper size; nothing for another name.
std::optional<QPageSize::PageSizeId> paperNamed(const std::string& name);

}  // namespace tarvine::qt
