SELECT a::int, "x:y", `q:r` FROM t WHERE b = :name AND c = ':lit' AND d = :x
