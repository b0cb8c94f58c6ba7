# make package  build the Windows installer, build/windows/korvanel-setup.exe,
#               from the Windows build's korvanel.exe and korvanel-send.exe

.PHONY: package

package: setup $(WINDOWS)/build.ninja
	cmake --build $(WINDOWS) --target korvanel korvanel-send -j $(JOBS)
	installer/make-installer $(WINDOWS) $(WINDOWS)/korvanel-setup.exe
