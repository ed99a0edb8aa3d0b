# Every target of ours compiles with these warnings. Qt's headers come in as system
# headers through its imported targets, so the stricter checks see only our code.
#
# Warnings become errors only where we ask for it: the presets (and so CI) set
# CMAKE_COMPILE_WARNING_AS_ERROR, while a plain build leaves it off, as a newer or
# older compiler than ours may warn about code that is fine.
function(kestrava_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
endfunction()
