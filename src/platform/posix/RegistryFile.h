// The native registry's store file: the tree as text and back.
//
// One record per line:
//   ORVREG 1 :<boot id>
//   K <0|1 volatile> :<root>\<key>\<key>...
//   V :<value name> <type> :<hex bytes>
// Every text field starts with ':' and escapes bytes below 0x21, above
// 0x7E, '%' and '\' as %XX, so names may hold any byte. Keys come in tree
// order; values belong to the key before them.
#pragma once

#include "platform/posix/RegistryTree.h"

#include <string>

namespace platform::posix::registry {

// The whole tree (the roots are the top's subkeys) as the store file's text,
// stamped with this boot's identifier.
std::string SerializeTree(const Key& top);

// Reads a store file's text into top. False, with top unchanged, when any
// record is malformed. Volatile keys written during another boot are dropped.
bool ParseStore(const std::string& text, Key& top);

} // namespace platform::posix::registry
