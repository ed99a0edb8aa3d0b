# Every target of ours compiles with warnings as errors. Qt's headers come in as
# system headers through its imported targets, so the stricter checks see only our code.
function(kestrava_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Werror
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
endfunction()
