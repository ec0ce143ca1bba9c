// Basic scalar types of the host SDK and of Windows, as the plug-in sees them.
#pragma once

#include <cstdint>

typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint16_t MtlID;
typedef std::int32_t BOOL;
typedef std::uint32_t UINT;
typedef unsigned long ULONG;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Host time, in ticks.
typedef std::int32_t TimeValue;
