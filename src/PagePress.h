#pragma once
// PagePress core library: every public header.
#include "engine/VXBase.h"
#include "engine/VXDefine.h"
#include "engine/VXDevice.h"
#include "engine/VXFontManager.h"
#include "engine/VXFormatCodes.h"
#include "engine/VXImportRTF.h"
#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/ScriptedDialogService.h"
#include "platform/SysUtils.h"
