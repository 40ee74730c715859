// tovalk-batch's pictures, drawn by the same code as the main window's chart
// and stratum picture. Linked only into a build with the toolkit.
#include "app/BatchRun.h"
#include "app/Workspace.h"
#include "graphics/qt/PictureExport.h"

BatchPictures ToolkitBatchPictures() {
  BatchPictures pictures;
  pictures.prepare = [] { return EnsurePictureGraphics(); };
  pictures.chart = [](const Workspace& ws, PictureFormat format, std::string& bytes) {
    return EncodeChartPicture({ws.profile, ws.result, ws.settings}, format, bytes);
  };
  pictures.diagram = [](const Workspace& ws, PictureFormat format, std::string& bytes) {
    return EncodeStratumPicture(ws.profile, format, bytes);
  };
  return pictures;
}
