# The product's facts: its name, maker and program file names here, its version and build
# number from the project's version (major.minor.0.build). Code reads them through
# product/Product.h; the build names its programs, and the Windows version resources and
# manifests are configured, from the same variables.
set(SORNA_PRODUCT_NAME "Sorna")
set(SORNA_PRODUCT_MAKER "Kestrune")
set(SORNA_EXECUTABLE_NAME "${SORNA_PRODUCT_NAME}.exe")
set(SORNA_UNINSTALLER_NAME "Uninstall.exe")
