#include "ShelfDragOutLink.h"

#include "NotchViewModel.h"
#include "NotchWindowController.h"
#include "shelf/ShelfDragOut.h"

namespace talvo {

void linkShelfDragOut(ShelfDragOut &dragOut, NotchViewModel &viewModel, NotchWindowController &controller)
{
    QObject::connect(&dragOut, &ShelfDragOut::fileDragOutBegan, &controller,
                     [&controller] { controller.setShelfItemDragActive(true); });
    QObject::connect(&dragOut, &ShelfDragOut::dragOutEnded, &controller, [&controller] {
        controller.setShelfItemDragActive(false);
        controller.fileDrag().finish();
    });
    QObject::connect(&dragOut, &ShelfDragOut::fileMovedOut, &viewModel, [&viewModel](const QUuid &id, const QUrl &url) {
        viewModel.scheduleRemovalCheck(id, url, ShelfDragOut::kRemovalAttempts);
    });
    QObject::connect(&dragOut, &ShelfDragOut::removalRequested, &viewModel,
                     [&viewModel](const QUuid &id) { viewModel.removeItem(id); });
}

} // namespace talvo
