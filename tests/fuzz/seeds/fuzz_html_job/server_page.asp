<%@ LANGUAGE="VBSCRIPT" %>
<%
  Dim userName
  userName = Request.Form("name")
%>
<HTML>
<BODY>
<H2>Welcome back, <%= userName %>!</H2>
<P>You have <FONT COLOR="red"><%= Session("messages") %></FONT> new messages.
<P>Search: <ISINDEX PROMPT="Enter a keyword and press Return">
<!--BOLOC-->Product code: TX-4410<!--EOLOC-->
<P>Questions? Write to support@example.com &#8211; we answer within a day.
</BODY>
</HTML>
