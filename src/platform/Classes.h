#pragma once
// The Classes vocabulary: objects, components, sets, streams, string lists and the
// exceptions they raise.
#include "platform/Component.h"
#include "platform/Exceptions.h"
#include "platform/Object.h"
#include "platform/Set.h"
#include "platform/Stream.h"
#include "platform/StringList.h"
#include "platform/Types.h"
