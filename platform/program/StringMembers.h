#pragma once
// Put in front of every source of the programs' code (velmora_product_options in CMakeLists.txt).
// The runtime's library holds the members of std::string compiled once, in one object that comes
// into a program whole, with every member, as soon as one of them is called. Without the
// library's declaration that they are compiled there, each source compiles the members it calls,
// like those of any other template, and the programs carry only those. The value -1 keeps the
// library's other such declarations: it lifts the one for basic_string alone, as the library
// itself does for a newer language standard.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
// With the members compiled here, GCC 12 at -O2 warns of an overlapping copy inside
// basic_string::assign that cannot happen (a known false alarm of that compiler on these members).
#pragma GCC diagnostic ignored "-Wrestrict"
