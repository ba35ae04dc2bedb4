# Lays out the installation package from a distribution directory:
#   cmake -DDIST=<distribution directory> -DOUT=<package directory> -P MakePackage.cmake
# OUT is replaced. The tests lay out their package copies with this script.
if(NOT DIST OR NOT OUT)
  message(FATAL_ERROR "MakePackage.cmake needs -DDIST=... and -DOUT=...")
endif()
if(NOT EXISTS ${DIST}/kvr OR NOT EXISTS ${DIST}/kvrsetup)
  message(FATAL_ERROR "${DIST} holds no built kvr and kvrsetup")
endif()
set(besides kvrsetup kvrsetup.rc resource.h morvelui.ini license1.txt license2.txt)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/res)
foreach(f ${besides})
  file(COPY ${DIST}/${f} DESTINATION ${OUT})
endforeach()
file(COPY ${DIST}/ DESTINATION ${OUT}/Kivra_DistributionFiles
     PATTERN "*blob.brc" EXCLUDE)
# The installer and its own files are not installed.
foreach(f kvrsetup kvrsetup.rc license1.txt license2.txt)
  file(REMOVE ${OUT}/Kivra_DistributionFiles/${f})
endforeach()
