#pragma once
// PagePress windows: the core library plus everything that needs Qt Widgets.
#include "PagePress.h"
#include "platform/WidgetDialogService.h"
#include "render/LxRenderProgressDlg.h"
