// The load sheet as PDF in a build without Qt: it says so.

#include "SheetPdf.h"

namespace tarvine::app {

std::string writeSheetPdf(const tools::LoadSheet&, const std::string&, const std::string&) {
  return "this build has no PDF writer (it was configured with -DTARVINE_WITH_QT=OFF); write "
         "--csv instead, or rebuild with -DTARVINE_WITH_QT=ON";
}

}  // namespace tarvine::app
