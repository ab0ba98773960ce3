/* Marks a function of a shared library's interface. Libraries are built with hidden
 * visibility, so only what carries this mark is exported. Usable from C and C++. */
#ifndef TALISO_LIBRARY_EXPORT_H
#define TALISO_LIBRARY_EXPORT_H

#define TALISO_EXPORT __attribute__((visibility("default")))

#endif
