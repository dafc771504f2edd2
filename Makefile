# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DVARDEL_WERROR=ON
# `make install` puts Vardel under PREFIX (inside DESTDIR when that is given); the package uses /usr.
PREFIX ?= /usr/local
# What an installed Vardel is made of: the two programs, the one vardel-data starts for printing, and the
# generated manual pages and changelog.
INSTALLED_TARGETS = vardel vardel-data vardel-data-print vardel_docs

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps configure build run test package install uninstall clean fuzz fuzz-run

deps:
	@sh tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

# Everything: the programs, the tests and the benchmarks.
build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what running needs, so that the first start does not wait for the test suite to compile.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target vardel
	sh tools/run-vardel.sh $(BUILD)/src/ui/app/vardel

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang with its fuzzer runtime), in their own build folder.
fuzz:
	@sh tools/install-deps.sh --fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DVARDEL_FUZZ=ON -DVARDEL_BENCH=OFF \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# Runs every target for FUZZ_SECONDS on a copy of its seed corpus; findings land in $(FUZZ_BUILD)/findings.
fuzz-run: fuzz
	sh tools/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A Debian package, vardel_<version>_<architecture>.deb, copied to the top of the repository. It is built in a
# folder of its own with the flags Debian builds its programs with (dpkg-buildflags with every hardening feature:
# fortified functions, stack protector, read-only relocations bound at start; the compiler makes position-
# independent executables by default), and only the installed programs are built, in parallel: CPack's install
# step would otherwise build everything else, tests included, one job at a time.
PACKAGE_BUILD ?= build-package
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	cmake -S . -B $(PACKAGE_BUILD) $(CMAKE_FLAGS) -DVARDEL_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
		-DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target $(INSTALLED_TARGETS)
	rm -f $(PACKAGE_BUILD)/packages/vardel_*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB -B packages
	cp $(PACKAGE_BUILD)/packages/vardel_*.deb .

install: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(INSTALLED_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)" --strip

# Removes what the last `make install` put in place, as listed in the build folder's install manifest (which
# names the files without DESTDIR: give the same DESTDIR as to the install).
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "Nothing to uninstall: no $(BUILD)/install_manifest.txt." >&2; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -r -d '\n' rm -f --
	sed -n 's|^\(.*\)/copyright$$|$(DESTDIR)\1|p' $(BUILD)/install_manifest.txt | xargs -r -d '\n' rmdir --ignore-fail-on-non-empty -- 2>/dev/null || true
	rm -f $(BUILD)/install_manifest.txt

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
