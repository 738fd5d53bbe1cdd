<?xml version="1.0" encoding="UTF-8"?>
<!-- The printable page of a clinical document retrieved from the regional
     health record: title, patient, author, custodian, then every section with
     its narrative text. Only text is copied out of the document (value-of):
     its markup never reaches the page. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:cda="urn:hl7-org:v3" exclude-result-prefixes="cda">
  <xsl:output method="html" encoding="UTF-8" indent="no"/>

  <xsl:template match="/">
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:value-of select="cda:ClinicalDocument/cda:title"/></title>
      </head>
      <body style="font-family: sans-serif">
        <xsl:apply-templates select="cda:ClinicalDocument"/>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="cda:ClinicalDocument">
    <h1><xsl:value-of select="cda:title"/></h1>
    <xsl:variable name="paziente" select="cda:recordTarget/cda:patientRole"/>
    <p>
      <b>Paziente: </b>
      <xsl:value-of select="$paziente/cda:patient/cda:name/cda:family"/>
      <xsl:text> </xsl:text>
      <xsl:value-of select="$paziente/cda:patient/cda:name/cda:given"/>
      <xsl:text> (</xsl:text>
      <xsl:value-of select="$paziente/cda:id[@root='2.16.840.1.113883.2.9.4.3.2']/@extension"/>
      <xsl:text>)</xsl:text>
    </p>
    <p>
      <b>Data: </b>
      <xsl:call-template name="data">
        <xsl:with-param name="valore" select="cda:effectiveTime/@value"/>
      </xsl:call-template>
    </p>
    <p>
      <b>Autore: </b>
      <xsl:value-of select="cda:author/cda:assignedAuthor/cda:assignedPerson/cda:name"/>
    </p>
    <p>
      <b>Struttura: </b>
      <xsl:value-of
          select="cda:custodian/cda:assignedCustodian/cda:representedCustodianOrganization/cda:name"/>
    </p>
    <xsl:for-each select="cda:component/cda:structuredBody//cda:section">
      <h2><xsl:value-of select="cda:title"/></h2>
      <xsl:for-each select="cda:text//text()[normalize-space(.) != '']">
        <p><xsl:value-of select="."/></p>
      </xsl:for-each>
    </xsl:for-each>
  </xsl:template>

  <!-- yyyymmdd[hhmm...] as dd/mm/yyyy -->
  <xsl:template name="data">
    <xsl:param name="valore"/>
    <xsl:value-of select="concat(substring($valore, 7, 2), '/', substring($valore, 5, 2), '/',
                                 substring($valore, 1, 4))"/>
  </xsl:template>
</xsl:stylesheet>
