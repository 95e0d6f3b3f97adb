#pragma once
// PagePress core library: every public header.
#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"
