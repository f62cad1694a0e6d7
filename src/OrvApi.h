// The library's one export macro. Every exported class, function and datum is
// declared with ORV_API; nothing else in the tree knows about dllexport or
// symbol visibility.
#pragma once

#if defined(_WIN32)
#  if defined(ORV_BUILDING_LIBRARY)
#    define ORV_API __declspec(dllexport)
#  else
#    define ORV_API __declspec(dllimport)
#  endif
#else
#  define ORV_API __attribute__((visibility("default")))
#endif
