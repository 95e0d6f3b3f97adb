#pragma once
// The SysUtils vocabulary: exceptions, locale settings, formatting and conversion of numbers
// and dates, string helpers, rounding, files and the ANSI code page.
#include "platform/AnsiCodePage.h"
#include "platform/Conversions.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "platform/FloatFormat.h"
#include "platform/Format.h"
#include "platform/FormatSettings.h"
#include "platform/MathUtils.h"
#include "platform/OSError.h"
#include "platform/StringUtils.h"
