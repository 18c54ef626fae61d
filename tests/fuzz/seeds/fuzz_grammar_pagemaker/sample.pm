junk <PMTags1.0 win>
<@Normal:>Hello \<world\> <B>bold<P>
<*INDEX "a b" "c">
<GTABS(1,2)><C-COLORTABLE ("Black" 1 0 0 0)><@Body Text=<FONT "Arial"><SIZE 10>>
<G>x<g2>