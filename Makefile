# make test   install what is missing, build the x86_64 and i686 trees, run the
#             tests under Wine
# make demo   build and install the x86_64 library, build examples/ against
#             the installed tree, run the demo and save build/demo.png and,
#             with its settings dialog open, build/demo-dialog.png, and with
#             its input page open on a dropped-down list, build/demo-input.png,
#             with its table page open, scrolled and editing a note,
#             build/demo-table.png, and with its plot page open,
#             build/demo-plot.png; it prints two pages of the table report to
#             the PDF printer and keeps the first as build/demo-print.png, and
#             saves the print preview as build/demo-preview.png
#
# Both start with scripts/setup.sh, which installs missing Debian packages
# (as root).

BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
INSTALL_DIR = $(CURDIR)/build/install-x86_64

.PHONY: test demo

test:
	sh scripts/setup.sh
	$(CONFIGURE) -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
	cmake --build build/x86_64 -j $(JOBS)
	$(CONFIGURE) -B build/i686 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
	cmake --build build/i686 -j $(JOBS)
	sh scripts/test.sh

demo:
	sh scripts/setup.sh
	$(CONFIGURE) -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
	cmake --build build/x86_64 --target korvel -j $(JOBS)
	rm -rf $(INSTALL_DIR)
	cmake --install build/x86_64 --prefix $(INSTALL_DIR)
	cmake -S examples -B build/demo-x86_64 -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake \
	    -DCMAKE_PREFIX_PATH=$(INSTALL_DIR)
	cmake --build build/demo-x86_64 -j $(JOBS)
	sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Korvel Demo" build/demo.png
	KORVEL_DEMO_DIALOG=1 sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Demo Settings" \
	    build/demo-dialog.png
	KORVEL_DEMO_INPUT=1 sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Demo Input" \
	    build/demo-input.png
	KORVEL_DEMO_TABLE=1 sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Demo Table" \
	    build/demo-table.png
	KORVEL_DEMO_PLOT=1 sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Demo Plot" \
	    build/demo-plot.png
	sh scripts/demo-print.sh build/demo-x86_64/bin/demo.exe build/demo-print.png
	KORVEL_DEMO_PREVIEW=1 sh scripts/screenshot.sh build/demo-x86_64/bin/demo.exe "Demo Print Preview" \
	    build/demo-preview.png
	sh scripts/cups.sh stop
