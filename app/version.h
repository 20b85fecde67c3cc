/* The program's version: the one place it is written. Read by the version
   block in resources/app.rc, by the top CMakeLists.txt (project version) and
   by the tests. Plain C preprocessor only: the resource compiler includes it. */
#ifndef VIVARN_APP_VERSION_H
#define VIVARN_APP_VERSION_H

#define VIVARN_VERSION_MAJOR 2
#define VIVARN_VERSION_MINOR 0
#define VIVARN_VERSION_PATCH 0
#define VIVARN_VERSION_BUILD 0
#define VIVARN_VERSION_TEXT "2.0.0.0"

#define VIVARN_PRODUCT_NAME "Vivarn Screen Saver"

#endif
